// Drives one run of the service thread from the console: starts it the way
// a window's starter does, shows it every 100 ms, and stops it the way
// STOP does when its goal is reached, on Ctrl+C or when time runs out.
#pragma once

#include "link/com_thread.h"
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

// `goal` may be empty (never reached). timeoutSeconds 0 = no limit.
RunOutcome DriveRun(const StartRequest& request, ConsoleView& view, const std::function<bool()>& goal,
                    uint32_t timeoutSeconds);
