// The acceptor's port for one run of the service thread: opening and
// configuring it, and the line check before each command.
#pragma once

#include "platform/serial_port.h"

#include <memory>

// Read limits of the link: 100 ms between bytes, 1000 ms + 10 ms per byte
// asked in all; writes have no limit.
constexpr platform::Timeouts kLinkTimeouts{100, 10, 1000, 0, 0};

// Opens szPortName through the run environment, sets dwBaudRate 8N1 (every other
// driver setting kept), the link's limits, purges both directions and clears
// old line errors. Returns false after queueing the failing step's message;
// `port` then still holds the port if it opened, for the run to close at
// its end.
bool OpenComPort(std::unique_ptr<platform::SerialPort>& port);

// Reads and resets the line error flags. Returns false, after queueing the
// message, when a framing, overrun, parity or break error was seen: the
// command then waits for the next pass.
bool CheckLineBeforeCommand(platform::SerialPort& port);
