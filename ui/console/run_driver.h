// Drives one run of the service thread from the console: starts it with
// the window's own starter, shows it every 100 ms, and stops it the way
// STOP does when its goal is reached, on Ctrl+C or when time runs out.
#pragma once

#include "ui/console/console_view.h"

#include <cstdint>
#include <functional>

enum class RunOutcome {
    GoalReached,   // stopped by the console once the goal held
    EndedByItself, // the run ended on its own (done, or failed)
    Interrupted,   // Ctrl+C
    TimedOut,
    NotStarted,
};

// Ctrl+C sets a flag the driver looks at; a second run is then not started.
void InstallInterruptHandler();
bool Interrupted();

// `start` is one of the starters (ui/starters.h). `goal` may be empty
// (never reached). timeoutSeconds 0 = no limit.
RunOutcome DriveRun(const std::function<bool()>& start, ConsoleView& view, const std::function<bool(const RunLook&)>& goal,
                    uint32_t timeoutSeconds);
