// The console's wire-level commands: decode, scan-bus and --trace.
#pragma once

#include "demo/console/console_args.h"

// Opens the trace file of --trace; false (message printed) when it cannot.
bool StartTrace(const PollbenchArgs& args);

int RunDecode(const PollbenchArgs& args);
int RunScanBus(const PollbenchArgs& args);
