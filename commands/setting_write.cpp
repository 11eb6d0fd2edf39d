#include "commands/setting_write.h"

#include "coindata/records/device_coin_table.h"
#include "commands/extension_exchange.h"
#include "commands/protocol/extension_commands.h"
#include "link/command_mailbox.h"
#include "link/log_queue.h"

namespace {

namespace s = acceptor::write_setting;

// Sends the request with its time; returns the status, or -1 when no
// status came.
int WriteSetting(const RunState& run, acceptor::RequestPayload& request) {
    PutRequestTime(request, s::kTime);
    const ExtensionReply reply = CallExtension(run, request);
    if (!reply.Usable()) return -1;
    return reply.Byte(acceptor::status_reply::kStatusInData);
}

void ReadTableNext() { Mailbox.bSubCommand.store(acceptor::kSubReadTable, std::memory_order_release); }

uint8_t LowByte(int32_t v) { return static_cast<uint8_t>(v & 0xFF); }

} // namespace

void HandleWriteDivider(RunState& run) {
    const int32_t row = Mailbox.iSelectedDeviceCoin.load(std::memory_order_acquire);
    if (row < 0 || row >= kDeviceCoinRows) {
        // The dialog opens only for a selected row; a run started without
        // one has nothing to write.
        LogQueuePushFormat("*** Error: coin index %d is outside the coin table ***", static_cast<int>(row));
        StopRun();
        return;
    }
    const DeviceCoinEntry entry = stDeviceCoins.GetDeviceCoins()[static_cast<size_t>(row)];
    acceptor::RequestPayload request(acceptor::kWriteDividerCommand);
    request.Put(s::kRow, LowByte(row));
    request.Put(s::kAllowed, LowByte(entry.bInherit));
    request.Put(s::kDivider, LowByte(entry.iErrorDivider));
    const int status = WriteSetting(run, request);
    if (status == 0) {
        LogQueuePushFormat("Coin (index = %d) parameters written successfully", static_cast<int>(row));
        ReadTableNext();
    } else if (status > 0) {
        LogQueuePushFormat("*** Error [% d] when writing coin (index = %d) parameters ***", status,
                           static_cast<int>(row));
    }
}

void HandleWriteParams(RunState& run) {
    const AcceptanceParameters params = stDeviceCoins.GetAcceptanceParams();
    acceptor::RequestPayload request(acceptor::kWriteParamsCommand);
    request.Put(s::kMaxError, LowByte(params.Max_Error));
    request.Put(s::kNNetDivider, params.NNet_Divider);
    request.Put(s::kNumbStandDev, params.Numb_Stand_Dev);
    const int status = WriteSetting(run, request);
    if (status == 0) {
        LogQueuePush("Coin Acceptor parameters written successfully");
        ReadTableNext();
    } else if (status > 0) {
        LogQueuePushFormat("*** Error [% d] when writing Coin Acceptor parameters ***", status);
    }
}
