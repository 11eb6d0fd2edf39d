// One run of Ducat Console's service thread as its fuzz target and the
// seed maker play it: one of the five starters, the run's thread run at
// once on the caller's thread (so a run is over when the call returns),
// and a port of the caller's making. The caller's port ends the run by
// setting bStopThread.
#pragma once

#include "platform/serial_port.h"

#include <cstdint>
#include <functional>
#include <memory>

enum DucatStarter : uint8_t { kStartButton, kExportLog, kCoinWrite, kDividerEdit, kMaxErrors, kDucatStarters };

using SessionPort = std::function<std::unique_ptr<platform::SerialPort>()>;

// Once per program: the handlers, the queue, and a run environment that
// opens the sessions' ports, runs the thread at once and pins the clock.
void PrepareDucatSessions();

// The starter is taken modulo kDucatStarters. `value` is the coin index a
// coin write targets or the row a divider edit writes (as a signed byte,
// so -1 is no row); the dialogs' fields hold fixed typed values. Before the run the mailbox is reset and the acceptor's
// identity is the virtual acceptor's, so that the enciphered replies of a
// run without its own identification open with its key.
void RunDucatSession(uint8_t starter, uint8_t value, const SessionPort& port);
