// Sub-commands 6 and 7: write one coin's divider and allowed flag, or the
// acceptor-wide acceptance parameters. Status 0 moves on to the coin
// table read in the next pass; any other status sends the same request
// again on every pass until a window stops the run.
#pragma once

#include "link/com_thread.h"

void HandleWriteDivider(RunState& run);
void HandleWriteParams(RunState& run);
