#include "link/com_thread.h"

#include "link/com_port.h"
#include "link/command_mailbox.h"
#include "link/extension_handlers.h"
#include "link/log_queue.h"
#include "platform/beep.h"
#include "platform/clock.h"

namespace {

constexpr uint32_t kBufferReleasePauseMs = 500;
constexpr uint32_t kEndBeepHz = 2000;
constexpr uint32_t kEndBeepMs = 100;
// A pass that ran no command (line error, or a sub-command nobody handles)
// pauses this long, so a run waiting for STOP does not hold a core.
constexpr uint32_t kIdlePassPauseMs = 1;

bool FollowUpChains(int32_t next) { return (next >= 1 && next <= 4) || (next >= 11 && next <= 13); }

// Runs one pass; returns whether a command ran in it.
bool RunPass(RunState& run) {
    if (!CheckLineBeforeCommand(*run.port)) return false;
    const int32_t command = Mailbox.iCommand.load(std::memory_order_acquire);
    if (command != kExtensionHeader) {
        LogQueuePushFormat("COM_Thread: ***** Команда [%d] не поддерживается", static_cast<int>(command));
        Mailbox.bStopThread.store(1, std::memory_order_release);
        return true;
    }
    return RunExtensionHandlers(run);
}

void RunPassLoop(RunState& run) {
    while (Mailbox.bStopThread.load(std::memory_order_acquire) == 0) {
        if (!RunPass(run)) platform::SleepMilliseconds(kIdlePassPauseMs);
    }
}

// The end of every run, in this order; clearing hComThread comes last.
void EndRun(RunState& run, std::unique_ptr<platform::SerialPort>& port) {
    if (run.pstrBufferProg) {
        LogQueuePush("Удаление  pstrBufferProg  Com_Thread  Exit");
        platform::SleepMilliseconds(kBufferReleasePauseMs);
        run.pstrBufferProg.reset();
        run.dwBufferProgSize = 0;
    }
    run.port = nullptr;
    if (port) {
        (void)port->Close();
        port.reset();
    }
    platform::Beep(kEndBeepHz, kEndBeepMs);
    LogQueuePush("COM_Thread: Thread Stopped");
    Mailbox.hComThread.store(0, std::memory_order_release);
}

} // namespace

void ApplyIdentificationFollowUp() {
    Mailbox.bDeviceIdentified.store(1, std::memory_order_release);
    const int32_t next = Mailbox.iNextCommand.load(std::memory_order_acquire);
    if (next == 0) {
        Mailbox.bStopThread.store(1, std::memory_order_release);
        return;
    }
    if (FollowUpChains(next)) {
        Mailbox.iCommand.store(kExtensionHeader, std::memory_order_release);
        Mailbox.bSubCommand.store(static_cast<uint8_t>(next), std::memory_order_release);
    }
    // Any other value: the next pass repeats the identification, which
    // then finds no follow-up and ends the run.
    Mailbox.iNextCommand.store(0, std::memory_order_release);
}

unsigned COM_Thread(void* /*unused*/) {
    RunState run;
    std::unique_ptr<platform::SerialPort> port;
    if (OpenComPort(port)) {
        run.port = port.get();
        RunPassLoop(run);
    }
    EndRun(run, port);
    return 0;
}
