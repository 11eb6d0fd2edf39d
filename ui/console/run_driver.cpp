#include "ui/console/run_driver.h"

#include "platform/clock.h"
#include "platform/serial_port.h"

#include <atomic>
#include <csignal>

namespace {

constexpr uint32_t kTickMs = 100;

std::atomic<bool> g_interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

// A write into a line that takes no bytes has no limit of its own: the
// port gives it up, so the run can end.
extern "C" void OnInterrupt(int) {
    g_interrupted.store(true);
    platform::StopSerialWaits();
}

} // namespace

void InstallInterruptHandler() { std::signal(SIGINT, OnInterrupt); }

bool Interrupted() { return g_interrupted.load(); }

RunOutcome DriveRun(const std::function<bool()>& start, ConsoleView& view, const std::function<bool(const RunLook&)>& goal,
                    uint32_t timeoutSeconds) {
    if (Interrupted()) return RunOutcome::Interrupted;
    if (!start()) {
        view.Tick();
        view.EndRun();
        return RunOutcome::NotStarted;
    }
    const uint64_t deadline =
        timeoutSeconds == 0 ? 0 : platform::SteadyMilliseconds() + static_cast<uint64_t>(timeoutSeconds) * 1000;
    RunOutcome outcome = RunOutcome::EndedByItself;
    // Like the main window: until the run's thread has cleared hComThread,
    // and its last line ("COM_Thread: Thread Stopped") is shown.
    for (;;) {
        platform::SleepMilliseconds(kTickMs);
        const RunLook look = view.Tick();
        if (!look.runExists) break;
        // Ending already: by its own thread (its work done, or given up),
        // which neither Ctrl+C nor the deadline turns into another outcome,
        // or as the console stopped it.
        if (look.end != RunEnd::None) continue;
        if (Interrupted()) {
            outcome = RunOutcome::Interrupted;
        } else if (goal && goal(look)) {
            outcome = RunOutcome::GoalReached;
        } else if (deadline != 0 && platform::SteadyMilliseconds() >= deadline) {
            outcome = RunOutcome::TimedOut;
        } else {
            continue;
        }
        view.Stop();
    }
    view.EndRun();
    return outcome;
}
