#include "ui/run_watch.h"

#include "link/command_mailbox.h"
#include "link/log_queue.h"

#include <utility>

namespace {

bool StopFlagSet() { return Mailbox.bStopThread.load(std::memory_order_acquire) != 0; }

// The window's rule for giving the controls back: the run was told to
// stop, it is gone, and its command has not been put back to idle yet.
bool RunOverNow(uintptr_t run) {
    return run == 0 && Mailbox.bStopThread.load(std::memory_order_acquire) == 1 &&
           Mailbox.iCommand.load(std::memory_order_acquire) < kIdleCommand;
}

} // namespace

RunWatch::RunWatch() : seenResult_(LastCoinResultSequence()) {}

size_t RunWatch::DrainLines(const LineHandler& line) {
    if (LogQueueCount() == 0) return 0;
    return LogQueueDrain([&line](const char* text) { line(text); });
}

RunLook RunWatch::Look(const LineHandler& line) {
    RunLook look;
    // The thread queues its last line before it clears hComThread.
    const uintptr_t run = Mailbox.hComThread.load(std::memory_order_acquire);
    look.runExists = run != 0;
    look.lines = DrainLines(line);
    look.subCommand = Mailbox.bSubCommand.load(std::memory_order_acquire);
    TakeResults(look);
    look.runOver = RunOverNow(run);
    look.end = NoteEnd(run, look.runOver);
    if (look.runOver) Mailbox.iCommand.store(kIdleCommand, std::memory_order_release);
    Mailbox.bDeviceIdentified.store(0, std::memory_order_release);
    return look;
}

void RunWatch::TakeResults(RunLook& look) {
    // Cleared before the results are read: a result published after the
    // read raises it again, and the next look takes that one.
    Mailbox.bNewData.store(0, std::memory_order_release);
    CoinResultsSince since = CoinResultsAfter(seenResult_);
    seenResult_ = since.lastSequence;
    look.results = std::move(since.results);
    look.missedResults = since.missed;
}

void RunWatch::Follow(uintptr_t run) {
    if (run == 0 || run == run_) return;
    run_ = run;
    end_ = RunEnd::None;
}

RunEnd RunWatch::NoteEnd(uintptr_t run, bool over) {
    Follow(run);
    if (run == 0 && !over) {
        end_ = RunEnd::None;
        return RunEnd::None;
    }
    if (end_ == RunEnd::None && StopFlagSet()) end_ = RunEnd::ByItself;
    const RunEnd end = end_;
    if (run == 0) end_ = RunEnd::None;
    return end;
}

void RunWatch::Stop() {
    const uintptr_t run = Mailbox.hComThread.load(std::memory_order_acquire);
    Follow(run);
    if (run != 0 && end_ == RunEnd::None) end_ = StopFlagSet() ? RunEnd::ByItself : RunEnd::Stopped;
    StopRun();
}
