// The console's texts: the fields of the core as lines for a terminal.
#pragma once

#include "demo/demo_core.h"

#include <string>

// Text for a UTF-8 terminal: code page 1251 converted, "\r\n" as "\n".
std::string TerminalText(const std::string& text);

// The coin table: position, id, value, Sort text, inhibit; then the default
// path, the full outlets and the option-dependent controls.
std::string CoinTable(const CDemoCore& core);

// One poll step: counts, outlet totals, credit and escrow sums, error line.
std::string PollLine(const CDemoCore& core);
