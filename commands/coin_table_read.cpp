#include "commands/coin_table_read.h"

#include "coindata/records/device_coin_table.h"
#include "link/acceptor_protocol.h"
#include "commands/extension_exchange.h"
#include "link/command_mailbox.h"
#include "link/front_end.h"
#include "link/log_queue.h"

namespace {
namespace t = acceptor::read_table;
}

void HandleReadCoinTable(RunState& run) {
    uint8_t payload[t::kRequestData - 1] = {};
    StoreRequestTime(payload + (t::kTimeAt - kPayloadAt));
    ExchangeOutcome outcome;
    const uint8_t* data = CallExtension(run, {acceptor::kReadTable, payload, sizeof payload}, kCoinTableReplyBytes,
                                        ChecksumText::WithHeader, outcome);
    // Any failure: the next pass asks again.
    if (data == nullptr) return;
    if (!stDeviceCoins.StoreCoinTableReply(data, kCoinTableReplyBytes)) {
        LogQueuePush("***** ошибка приема CRC16");
        return;
    }
    CurrentFrontEnd().RefreshDeviceCoinList();
    Mailbox.bSubCommand.store(acceptor::kSubMonitor, std::memory_order_release);
    run.endPass = true;
}
