// Sub-command 5: asks every 100 ms for the acceptor's latest coin result,
// counts accepted coins in their row and publishes the result for the
// window. Runs until a window stops the run.
#pragma once

#include "commands/coin_result.h"
#include "link/com_thread.h"

void HandleMonitoring(RunState& run);

// The coin result in the 35 data bytes of a monitoring reply.
CoinResultRecord DecodeCoinResult(const uint8_t* data);
