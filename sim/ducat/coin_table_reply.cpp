#include "sim/ducat/coin_table_reply.h"

#include "link/checksums.h"

#include <cstring>

namespace sim {
namespace {

namespace layout = coin_table_reply;

constexpr size_t RowAt(size_t row) { return layout::kRowsAt + layout::kRowBytes * row; }

} // namespace

CoinTableReply EncodeCoinTableReply(const DeviceCoinRows& rows, const AcceptanceParameters& params) {
    CoinTableReply data{};
    for (size_t i = 0; i < rows.size(); ++i) {
        const DeviceCoinEntry& row = rows[i];
        uint8_t* at = data.data() + RowAt(i);
        std::memcpy(at + layout::kRowCoinId, row.szCoinId, layout::kCoinIdChars);
        at[layout::kRowDivider] = static_cast<uint8_t>(row.iErrorDivider);
        at[layout::kRowAllowed] = static_cast<uint8_t>(row.bInherit);
        at[layout::kRowFirm] = static_cast<uint8_t>(row.iFirm);
        StoreLe32(at + layout::kRowWritten, static_cast<uint32_t>(row.tWritten));
    }
    data[layout::kNNetDividerAt] = params.NNet_Divider;
    data[layout::kNumbStandDevAt] = params.Numb_Stand_Dev;
    StoreLe16(data.data() + layout::kMaxErrorAt, params.Max_Error);
    StoreLe32(data.data() + layout::kStructureWrittenAt, params.tStructureWritten);
    StoreLe16(data.data() + layout::kMinTravelTimeAt, params.wMinTravelTime);
    StoreLe16(data.data() + layout::kMaxTravelTimeAt, params.wMaxTravelTime);
    StoreLe16(data.data() + layout::kCrcAt, Crc16(data.data(), layout::kCrcAt));
    return data;
}

} // namespace sim
