// The acceptor's coin table (16 rows) and its global acceptance parameters.
// The serial service thread writes them and the window thread reads them,
// so every access copies in or out under the table's lock.
#pragma once

#include "commands/protocol/acceptor_layouts.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>

constexpr int32_t kDeviceCoinRows = 16;
namespace coin_table_reply = acceptor::coin_table_reply;
static_assert(coin_table_reply::kRows == static_cast<size_t>(kDeviceCoinRows), "one reply row per table row");

constexpr size_t kCoinTableReplyBytes = coin_table_reply::kBytes;
using CoinTableReply = std::array<uint8_t, kCoinTableReplyBytes>;

struct DeviceCoinEntry {
    char szCoinId[7] = {}; // 6 characters; a name beginning with '.' marks an empty row
    int32_t iErrorDivider = 0; // 0-255
    int32_t bInherit = 0;      // the acceptor's "allowed" flag, 0 or 1
    int64_t tWritten = 0;      // seconds since 1970-01-01 UTC of the coin's last write
    int32_t iFirm = 0;         // service company index
    int32_t iAcceptCount = 0;  // coins of this row accepted while monitoring
};

using DeviceCoinRows = std::array<DeviceCoinEntry, kDeviceCoinRows>;

struct AcceptanceParameters {
    uint16_t Max_Error = 100;     // maximum error for fixing a valid coin
    uint8_t NNet_Divider = 40;    // divides the neural network's error count
    uint8_t Numb_Stand_Dev = 2;   // standard deviations of the statistical method
    uint16_t wMinTravelTime = 40; // coin travel time limits
    uint16_t wMaxTravelTime = 250;
    uint32_t tStructureWritten = 0; // when the acceptor's coin table structure was written
};

class DeviceCoinTable {
public:
    DeviceCoinRows GetDeviceCoins() const;
    // bDeviceListValid: 1 from the first accepted coin table reply on.
    bool IsDeviceListValid() const;

    // Decodes the acceptor's coin table answer (236 data bytes; CRC-16 of
    // bytes 0-233 in 234-235, low byte first). On a wrong length or CRC
    // nothing changes and the result is false. Otherwise the rows' identity
    // fields and the acceptance parameters are replaced (iAcceptCount is
    // kept) and then the list is marked valid.
    bool StoreCoinTableReply(const uint8_t* data, size_t n);

    // Counts one accepted coin of a row; false for a row outside 0-15.
    bool IncrementAcceptCount(int32_t row);
    // The values a dialog puts into a row before the thread sends them;
    // false for a row outside 0-15.
    bool SetRowDividerAndInherit(int32_t row, int32_t iErrorDivider, int32_t bInherit);

    AcceptanceParameters GetAcceptanceParams() const;
    void SetAcceptanceParams(const AcceptanceParameters& params);

private:
    mutable std::mutex lock_;
    DeviceCoinRows rows_{};
    AcceptanceParameters params_{};
    bool bDeviceListValid_ = false;
};

// The one table of the program.
extern DeviceCoinTable stDeviceCoins;
