// The `ducat` commands. Each returns the program's exit status: 0 when the
// command did what it was asked, 1 when not.
#pragma once

#include "ui/console/console_options.h"

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int RunConsoleCommand(const ConsoleOptions& options);
