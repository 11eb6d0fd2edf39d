// Sub-command 3: reads the acceptor's coin table and acceptance parameters
// into stDeviceCoins, refreshes the coin list and moves on to monitoring
// in the next pass.
#pragma once

#include "link/com_thread.h"

void HandleReadCoinTable(RunState& run);
