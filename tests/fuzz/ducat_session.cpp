#include "tests/fuzz/ducat_session.h"

#include "coindata/coin_description.h"
#include "coindata/device_coin_table.h"
#include "coindata/device_info.h"
#include "commands/acceptor_commands.h"
#include "link/com_thread.h"
#include "link/command_mailbox.h"
#include "link/log_queue.h"
#include "link/port_opener.h"
#include "platform/clock.h"
#include "sim/ducat_acceptor.h"
#include "tests/fuzz/quick_pauses.h"
#include "tests/support/mailbox_reset.h"
#include "ui/starters.h"

#include <cstring>

namespace {

constexpr int64_t kPinnedTime = 1704067200; // 2024-01-01 00:00:00 UTC
constexpr int32_t kDialogDivider = 40;     // what the divider dialog put into the row
constexpr int32_t kDialogInherit = 1;

const SessionPort* g_port = nullptr;

std::unique_ptr<platform::SerialPort> OpenSessionPort(const std::string& /*name*/, uint32_t& error) {
    error = 0;
    return (*g_port)();
}

bool RunAtOnce(platform::ThreadProc proc, void* argument) {
    proc(argument);
    return true;
}

DeviceInfo VirtualIdentity() {
    const sim::DucatIdentity identity;
    DeviceInfo info;
    info.bAddress = identity.address;
    info.dwSerial = identity.serial;
    std::strncpy(info.szSerial, identity.serialText.c_str(), sizeof info.szSerial - 1);
    return info;
}

StartRequest RequestFor(uint8_t starter, uint8_t value) {
    switch (starter % kDucatStarters) {
    case kStartButton: return StartButtonRequest();
    case kExportLog: return ExportLogRequest();
    case kCoinWrite:
        Mailbox.iTargetCoinIndex.store(value);
        return CoinWriteRequest();
    case kDividerEdit: {
        const int32_t row = static_cast<int8_t>(value);
        (void)stDeviceCoins.SetRowDividerAndInherit(row, kDialogDivider, kDialogInherit);
        Mailbox.iSelectedDeviceCoin.store(row);
        return DividerEditRequest();
    }
    default: return MaxErrorsRequest();
    }
}

} // namespace

void PrepareDucatSessions() {
    LogQueueInit();
    ClearExtensionHandlers();
    RegisterAcceptorCommands();
    SetPortOpenerForTesting(&OpenSessionPort);
    SetThreadStarterForTesting(&RunAtOnce);
    platform::SetCalendarTimeForTesting(kPinnedTime);
}

void RunDucatSession(uint8_t starter, uint8_t value, const SessionPort& port) {
    testing_support::ResetMailbox();
    SetDeviceInfo(VirtualIdentity());
    stDeviceCoins.SetAcceptanceParams(AcceptanceParameters{});
    g_port = &port;
    {
        QuickPauses quick;
        (void)StartComRun(RequestFor(starter, value));
    }
    g_port = nullptr;
}
