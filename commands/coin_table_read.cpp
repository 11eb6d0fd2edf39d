#include "commands/coin_table_read.h"

#include "coindata/records/device_coin_table.h"
#include "commands/extension_exchange.h"
#include "commands/protocol/extension_commands.h"
#include "link/command_mailbox.h"
#include "link/front_end.h"
#include "link/log_queue.h"

namespace {
namespace t = acceptor::read_table;
}

void HandleReadCoinTable(RunState& run) {
    acceptor::RequestPayload request(acceptor::kReadTableCommand);
    PutRequestTime(request, t::kTime);
    // Any failure: the next pass asks again. The exchange checked the
    // reply's CRC-16 and said so; the table checks it once more before it
    // takes the rows.
    const ExtensionReply reply = CallExtension(run, request);
    if (!reply.Usable()) return;
    if (!stDeviceCoins.StoreCoinTableReply(reply.data, reply.size)) {
        LogQueuePush(acceptor::kReadTableCommand.opening.crcFailure);
        return;
    }
    CurrentFrontEnd().RefreshDeviceCoinList();
    Mailbox.bSubCommand.store(acceptor::kSubMonitor, std::memory_order_release);
    run.endPass = true;
}
