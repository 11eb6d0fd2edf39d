// Sub-command 1: writes abCoinImage into acceptor coin index
// iTargetCoinIndex, one 256-byte fragment per exchange. The acceptor answers
// the fragment it wants next, 16 when it holds them all; the coin table is
// then read in the same pass.
#pragma once

#include "link/com_thread.h"

void HandleWriteCoinDescription(RunState& run);
