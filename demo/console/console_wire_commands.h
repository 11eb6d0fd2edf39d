// The console's wire-level commands and the session report of `poll`:
// decode, scan-bus, --trace and --report.
#pragma once

#include "demo/console/console_args.h"
#include "demo/core/demo_core.h"
#include "demo/report/poll_session.h"

#include <cstdint>

// Shared with the other commands (console_commands.cpp).
void PrepareCore(CDemoCore& core, const PollbenchArgs& args, uint32_t& timerMs);

// Opens the trace file of --trace; false (message printed) when it cannot.
bool StartTrace(const PollbenchArgs& args);

int RunDecode(const PollbenchArgs& args);
int RunScanBus(const PollbenchArgs& args);

// The session listens to the core's driver from here on; with --report its
// events.csv is opened. False (message printed) when the folder is unusable.
bool StartSessionReport(PollSession& session, CDemoCore& core, const PollbenchArgs& args);
// The summary on the terminal and, with --report, summary.csv. Returns the
// poll command's exit status.
int EndSessionReport(PollSession& session, const PollbenchArgs& args);
