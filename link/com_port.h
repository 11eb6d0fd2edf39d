// The acceptor's port for one run of the service thread: opening and
// configuring it, and the line check before each command.
#pragma once

#include "platform/serial_port.h"

#include <cstdint>
#include <memory>
#include <string>

// Read limits of the link: 100 ms between bytes, 1000 ms + 10 ms per byte
// asked in all; writes have no limit.
constexpr platform::Timeouts kLinkTimeouts{100, 10, 1000, 0, 0};

// Opens szPortName through the run environment, sets dwBaudRate 8N1 (every other
// driver setting kept), the link's limits, purges both directions and clears
// old line errors. Returns false after queueing the failing step's message;
// `port` then still holds the port if it opened, for the run to close at
// its end.
bool OpenComPort(std::unique_ptr<platform::SerialPort>& port);

// The last port a run could not open, for a front end that adds its own
// words to the status line: the name, the system's error number, and how
// many opens have failed since the program started (so a new failure is
// told from an old one). Recorded after the status line is queued.
struct PortOpenFailureRecord {
    std::string port;
    uint32_t error = 0;
    uint64_t failures = 0;
};
PortOpenFailureRecord LastPortOpenFailure();

// Reads and resets the line error flags. Returns false, after queueing the
// message, when a framing, overrun, parity or break error was seen: the
// command then waits for the next pass.
bool CheckLineBeforeCommand(platform::SerialPort& port);
