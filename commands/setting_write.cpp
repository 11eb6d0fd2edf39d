#include "commands/setting_write.h"

#include "coindata/records/device_coin_table.h"
#include "link/acceptor_protocol.h"
#include "commands/extension_exchange.h"
#include "link/command_mailbox.h"
#include "link/log_queue.h"

namespace {

namespace s = acceptor::write_setting;

struct SettingValues {
    uint8_t bytes[s::kValues];
};

// Sends the three values; returns the status, or -1 when no status came.
int WriteSetting(RunState& run, uint8_t function, const SettingValues& values) {
    uint8_t payload[s::kCrcAt - kPayloadAt] = {};
    StoreRequestTime(payload + (s::kTimeAt - kPayloadAt));
    for (size_t i = 0; i < s::kValues; ++i) payload[s::kValuesAt - kPayloadAt + i] = values.bytes[i];
    ExchangeOutcome outcome;
    const uint8_t* data = CallExtension(run, {function, payload, sizeof payload, s::kCipherAt},
                                        acceptor::status_reply::kData, ChecksumText::Setting, outcome);
    if (data == nullptr) return -1;
    return data[acceptor::status_reply::kStatusAt - kDataAt];
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
    const int status =
        WriteSetting(run, acceptor::kWriteDivider, {{LowByte(row), LowByte(entry.bInherit), LowByte(entry.iErrorDivider)}});
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
    const int status = WriteSetting(run, acceptor::kWriteParams,
                                    {{LowByte(params.Max_Error), params.NNet_Divider, params.Numb_Stand_Dev}});
    if (status == 0) {
        LogQueuePush("Coin Acceptor parameters written successfully");
        ReadTableNext();
    } else if (status > 0) {
        LogQueuePushFormat("*** Error [% d] when writing Coin Acceptor parameters ***", status);
    }
}
