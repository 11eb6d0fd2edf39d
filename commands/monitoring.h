// Sub-command 5: asks every 100 ms for the acceptor's latest coin result,
// counts accepted coins in their row and publishes the result for the
// window. Runs until a window stops the run.
#pragma once

#include "link/com_thread.h"

void HandleMonitoring(RunState& run);
