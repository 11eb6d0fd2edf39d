// The console's texts: the fields of the core as lines for a terminal.
#pragma once

#include "demo/core/demo_core.h"

#include <string>

// The program's own text for a UTF-8 terminal: code page 1251 converted,
// "\r\n" as "\n", any other control byte as a visible escape.
std::string TerminalText(const std::string& text);

// The status box: the identification with every device text made safe for
// a terminal (control bytes as visible escapes, so no device text spans
// two lines or ends the output), or the program's own status.
std::string StatusText(const CDemoCore& core);

// The coin table: position, id, value, Sort text, inhibit; then the default
// path, the full outlets and the option-dependent controls.
std::string CoinTable(const CDemoCore& core);

// One poll step: counts, outlet totals, credit and escrow sums, error line.
std::string PollLine(const CDemoCore& core);
