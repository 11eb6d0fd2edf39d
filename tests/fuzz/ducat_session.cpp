#include "tests/fuzz/ducat_session.h"

#include "coindata/records/device_coin_table.h"
#include "coindata/records/device_info.h"
#include "commands/acceptor_commands.h"
#include "link/com_thread.h"
#include "link/log_queue.h"
#include "link/run_environment.h"
#include "sim/ducat/ducat_acceptor.h"
#include "tests/fuzz/quick_pauses.h"
#include "tests/support/mailbox_reset.h"
#include "ui/starters.h"

#include <cstring>

namespace {

constexpr uint32_t kPinnedTime = 1704067200; // 2024-01-01 00:00:00 UTC
// What the operator typed into the dialogs.
constexpr char kTypedDivider[] = "40";
constexpr bool kTypedInherit = true;
constexpr char kTypedMaxError[] = "100";
constexpr char kTypedNNetDivider[] = "40";
constexpr char kTypedNumbStandDev[] = "2";

const SessionPort* g_port = nullptr;

std::unique_ptr<platform::SerialPort> OpenSessionPort(const std::string& /*name*/, uint32_t& error) {
    error = 0;
    return (*g_port)();
}

bool RunAtOnce(platform::ThreadProc proc, void* argument) {
    proc(argument);
    return true;
}

uint32_t PinnedTime() { return kPinnedTime; }

DeviceInfo VirtualIdentity() {
    const sim::DucatIdentity identity;
    DeviceInfo info;
    info.bAddress = identity.address;
    info.dwSerial = identity.serial;
    std::strncpy(info.szSerial, identity.serialText.c_str(), sizeof info.szSerial - 1);
    return info;
}

void Start(uint8_t starter, uint8_t value) {
    switch (starter % kDucatStarters) {
    case kStartButton: (void)StartIdentification(); break;
    case kExportLog: (void)StartLogExport(); break;
    case kCoinWrite: (void)StartCoinWrite(value); break;
    case kDividerEdit: (void)StartDividerEdit(static_cast<int8_t>(value), kTypedDivider, kTypedInherit); break;
    default: (void)StartMaxErrorsEdit(kTypedMaxError, kTypedNNetDivider, kTypedNumbStandDev); break;
    }
}

} // namespace

void PrepareDucatSessions() {
    LogQueueInit();
    ClearExtensionHandlers();
    RegisterAcceptorCommands();
    RunEnvironment environment;
    environment.openPort = OpenSessionPort;
    environment.startThread = RunAtOnce;
    environment.calendarTime = PinnedTime;
    SetRunEnvironment(environment);
}

void RunDucatSession(uint8_t starter, uint8_t value, const SessionPort& port) {
    testing_support::ResetMailbox();
    SetDeviceInfo(VirtualIdentity());
    stDeviceCoins.SetAcceptanceParams(AcceptanceParameters{});
    g_port = &port;
    {
        QuickPauses quick;
        Start(starter, value);
    }
    g_port = nullptr;
}
