// What a front end sees of the service thread's runs, looked at on the
// front end's own thread every 100 ms (the main window's timer, the
// console's tick). One look hands over the queued status lines, every coin
// result published since the last look (the last of them is the one to
// show) and how the run stands: going on, ending by itself, stopped by
// the front end, or over. The window and the console only show what a look
// reports; the watch is the front end's one reader of the run's results
// and flags (bNewData, bDeviceIdentified, bStopThread, hComThread) and the
// one writer of kIdleCommand after a run.
#pragma once

#include "commands/coin_result.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// How the run is ending.
enum class RunEnd {
    None,     // going on, or no run is watched
    ByItself, // its own thread set the stop flag: its work done, or given up
    Stopped,  // the front end stopped it (RunWatch::Stop) while it went on
};

struct RunLook {
    // A run existed when the look began. Read before the lines: once it is
    // false, the run's last line ("COM_Thread: Thread Stopped") is handed.
    bool runExists = false;
    // Kept for the run once known; told one last time by the look that
    // finds the run gone.
    RunEnd end = RunEnd::None;
    // A run told to stop is gone: its command is back to idle and the
    // window gives its controls back. Once per run. A run whose port did
    // not open ends without the stop flag and is over only after STOP.
    bool runOver = false;
    size_t lines = 0; // status lines handed over by this look
    // How far the run's chain has come (bSubCommand) when the look was
    // taken; the look that finds the run gone has where it ended.
    uint8_t subCommand = 0;
    // Every result published since the last look, oldest first.
    std::vector<PublishedCoinResult> results;
    // Results published since the last look that the history no longer held.
    uint64_t missedResults = 0;
};

class RunWatch {
public:
    using LineHandler = std::function<void(const char* line)>;

    // Results published before the watch was made are not new to it.
    RunWatch();

    RunLook Look(const LineHandler& line);
    // Hands every queued status line to `line`; returns how many.
    static size_t DrainLines(const LineHandler& line);
    // STOP: asks the run to end. It counts as stopped unless its thread
    // had already set the stop flag.
    void Stop();

private:
    void Follow(uintptr_t run);
    void TakeResults(RunLook& look);
    RunEnd NoteEnd(uintptr_t run, bool over);

    uint64_t seenResult_;
    uintptr_t run_ = 0; // the last run seen (hComThread's token)
    RunEnd end_ = RunEnd::None;
};
