#include "coindata/device_coin_table.h"

#include "coindata/field_codec.h"
#include "link/checksums.h"

#include <cstring>
#include <limits>

DeviceCoinTable stDeviceCoins;

namespace {

constexpr size_t kFirstRowOffset = 4;
constexpr size_t kCoinIdChars = 6;
constexpr size_t kCrcOffset = 234;

struct DecodedTable {
    DeviceCoinRows rows{};
    AcceptanceParameters params{};
};

// Rows of 13 bytes from data byte 4, then the parameters from byte 212.
DecodedTable DecodeTable(const uint8_t* data, const DeviceCoinRows& current) {
    DecodedTable table;
    table.rows = current;
    FieldReader reader(data, kCrcOffset);
    reader.Skip(kFirstRowOffset);
    for (DeviceCoinEntry& row : table.rows) {
        reader.Bytes(reinterpret_cast<uint8_t*>(row.szCoinId), kCoinIdChars);
        row.szCoinId[kCoinIdChars] = '\0';
        uint8_t divider = 0, allowed = 0, firm = 0;
        uint32_t written = 0;
        reader.Field(divider);
        reader.Field(allowed);
        reader.Field(firm);
        reader.Field(written);
        row.iErrorDivider = divider;
        row.bInherit = allowed;
        row.iFirm = firm;
        row.tWritten = written;
    }
    AcceptanceParameters& p = table.params;
    reader.Field(p.NNet_Divider);
    reader.Field(p.Numb_Stand_Dev);
    reader.Field(p.Max_Error);
    reader.Field(p.tStructureWritten);
    reader.Field(p.wMinTravelTime);
    reader.Field(p.wMaxTravelTime);
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
    if (Crc16(data, kCrcOffset) != LoadLe16(data + kCrcOffset)) return false;
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
