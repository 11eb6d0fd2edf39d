#include "coindata/records/device_coin_table.h"

#include "link/checksums.h"

#include <cstring>
#include <limits>

DeviceCoinTable stDeviceCoins;

namespace {

namespace layout = coin_table_reply;

struct DecodedTable {
    DeviceCoinRows rows{};
    AcceptanceParameters params{};
};

constexpr size_t RowAt(size_t row) { return layout::kRowsAt + layout::kRowBytes * row; }

DecodedTable DecodeTable(const uint8_t* data, const DeviceCoinRows& current) {
    DecodedTable table;
    table.rows = current;
    for (size_t i = 0; i < table.rows.size(); ++i) {
        DeviceCoinEntry& row = table.rows[i];
        const uint8_t* at = data + RowAt(i);
        std::memcpy(row.szCoinId, at + layout::kRowCoinId, layout::kCoinIdChars);
        row.szCoinId[layout::kCoinIdChars] = '\0';
        row.iErrorDivider = at[layout::kRowDivider];
        row.bInherit = at[layout::kRowAllowed];
        row.iFirm = at[layout::kRowFirm];
        row.tWritten = LoadLe32(at + layout::kRowWritten);
    }
    AcceptanceParameters& p = table.params;
    p.NNet_Divider = data[layout::kNNetDividerAt];
    p.Numb_Stand_Dev = data[layout::kNumbStandDevAt];
    p.Max_Error = LoadLe16(data + layout::kMaxErrorAt);
    p.tStructureWritten = LoadLe32(data + layout::kStructureWrittenAt);
    p.wMinTravelTime = LoadLe16(data + layout::kMinTravelTimeAt);
    p.wMaxTravelTime = LoadLe16(data + layout::kMaxTravelTimeAt);
    return table;
}

bool RowInRange(int32_t row) { return row >= 0 && row < kDeviceCoinRows; }

} // namespace

DeviceCoinRows DeviceCoinTable::GetDeviceCoins() const {
    std::lock_guard<std::mutex> guard(lock_);
    return rows_;
}

bool DeviceCoinTable::IsDeviceListValid() const {
    std::lock_guard<std::mutex> guard(lock_);
    return bDeviceListValid_;
}

bool DeviceCoinTable::StoreCoinTableReply(const uint8_t* data, size_t n) {
    if (data == nullptr || n != kCoinTableReplyBytes) return false;
    if (Crc16(data, layout::kCrcAt) != LoadLe16(data + layout::kCrcAt)) return false;
    std::lock_guard<std::mutex> guard(lock_);
    const DecodedTable table = DecodeTable(data, rows_);
    rows_ = table.rows;
    params_ = table.params;
    bDeviceListValid_ = true;
    return true;
}

bool DeviceCoinTable::IncrementAcceptCount(int32_t row) {
    if (!RowInRange(row)) return false;
    std::lock_guard<std::mutex> guard(lock_);
    int32_t& count = rows_[static_cast<size_t>(row)].iAcceptCount;
    if (count < std::numeric_limits<int32_t>::max()) ++count;
    return true;
}

bool DeviceCoinTable::SetRowDividerAndInherit(int32_t row, int32_t iErrorDivider, int32_t bInherit) {
    if (!RowInRange(row)) return false;
    std::lock_guard<std::mutex> guard(lock_);
    DeviceCoinEntry& entry = rows_[static_cast<size_t>(row)];
    entry.iErrorDivider = iErrorDivider;
    entry.bInherit = bInherit;
    return true;
}

AcceptanceParameters DeviceCoinTable::GetAcceptanceParams() const {
    std::lock_guard<std::mutex> guard(lock_);
    return params_;
}

void DeviceCoinTable::SetAcceptanceParams(const AcceptanceParameters& params) {
    std::lock_guard<std::mutex> guard(lock_);
    params_ = params;
}
