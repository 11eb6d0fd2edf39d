// The `ducat` commands. Each returns the program's exit status: 0 when the
// command did what it was asked, 1 when not, 3 when the acceptor took a
// write but its coin table was not read back afterwards.
#pragma once

#include "ui/console/console_options.h"

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitNotReadBack = 3;

int RunConsoleCommand(const ConsoleOptions& options);
