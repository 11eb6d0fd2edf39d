// The virtual acceptor's coin table reply: what DeviceCoinTable::StoreCoinTableReply reads.
#pragma once

#include "coindata/records/device_coin_table.h"

namespace sim {

// The reply for these rows and parameters, CRC included, as the acceptor
// sends it: each row's 6 coin id bytes, its divider, allowed flag and firm
// as one byte each and its time as 32 bits (iAcceptCount stays here).
CoinTableReply EncodeCoinTableReply(const DeviceCoinRows& rows, const AcceptanceParameters& params);

} // namespace sim
