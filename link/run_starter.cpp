// Starting a run of the service thread.
#include "link/com_thread.h"
#include "link/command_mailbox.h"
#include "link/front_end.h"
#include "link/log_queue.h"
#include "link/run_environment.h"

#include <atomic>

namespace {

std::atomic<uintptr_t> g_lastRunToken{0};

// A non-zero value that tells this run from the previous ones.
uintptr_t NextRunToken() {
    uintptr_t token = g_lastRunToken.fetch_add(1, std::memory_order_relaxed) + 1;
    if (token == 0) token = g_lastRunToken.fetch_add(1, std::memory_order_relaxed) + 1;
    return token;
}

// Marks a run as existing, unless one already does.
bool ClaimRun() {
    uintptr_t idle = 0;
    return Mailbox.hComThread.compare_exchange_strong(idle, NextRunToken(), std::memory_order_acq_rel);
}

void FailStart(const StartRequest& request) {
    if (request.failureMessage != nullptr) LogQueuePush(request.failureMessage);
}

void WriteCommand(const StartRequest& request) {
    Mailbox.iCommand.store(request.command, std::memory_order_release);
    Mailbox.bSubCommand.store(request.subCommand, std::memory_order_release);
    Mailbox.iNextCommand.store(request.nextCommand, std::memory_order_release);
}

} // namespace

bool StartComRun(const StartRequest& request) {
    // The run is registered before its thread exists, so the thread's own
    // clearing of hComThread can never come first; a second run is refused.
    if (!ClaimRun()) {
        if (request.busyMessage != nullptr) {
            LogQueuePush(request.busyMessage);
        } else {
            FailStart(request);
        }
        return false;
    }
    Mailbox.bStopThread.store(0, std::memory_order_release);
    if (request.resetRecordNumber) Mailbox.dwLastRecordNumber.store(-1, std::memory_order_release);
    ReadCommandFields();
    CurrentFrontEnd().EnableCommandControls(false);
    WriteCommand(request);
    if (!CurrentRunEnvironment().startThread(COM_Thread, nullptr)) {
        Mailbox.hComThread.store(0, std::memory_order_release);
        FailStart(request);
        return false;
    }
    return true;
}

bool RunExists() { return Mailbox.hComThread.load(std::memory_order_acquire) != 0; }

