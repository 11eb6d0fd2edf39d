#include "commands/coin_table_read.h"

#include "coindata/device_coin_table.h"
#include "commands/acceptor_protocol.h"
#include "commands/extension_exchange.h"
#include "link/command_mailbox.h"
#include "link/front_end.h"
#include "link/log_queue.h"

namespace {
namespace t = acceptor::read_table;
}

void HandleReadCoinTable(RunState& run) {
    const size_t length = BeginExtensionRequest(acceptor::kReadTable, t::kRequestData);
    StoreRequestTime(t::kTimeAt);
    SealRequest(length);
    ExchangeOutcome outcome;
    // Any failure: the next pass asks again.
    if (!ExchangeReported(run, length, acceptor::ShortHeadFor(kCoinTableReplyBytes), ChecksumText::WithHeader, outcome)) return;
    if (!stDeviceCoins.StoreCoinTableReply(ReplyData(), kCoinTableReplyBytes)) {
        LogQueuePush("***** ошибка приема CRC16");
        return;
    }
    CurrentFrontEnd().RefreshDeviceCoinList();
    Mailbox.bSubCommand.store(acceptor::kSubMonitor, std::memory_order_release);
    run.endPass = true;
}
