// Where the console's runs go: port, line speed and acceptor address from
// "Ducat Console.cnf" when it exists (never written back), the port scan's
// start-up choice, then the command line's overrides.
#pragma once

#include "ui/console/console_options.h"

#include <string>

// `simPort` is the virtual acceptor's port when --sim is given, else empty.
// When neither names a port and the scan finds none that opens, szPortName
// is left empty.
bool ApplyConsoleSettings(const ConsoleOptions& options, const std::string& simPort, std::string& error);
