// The five starters of a service-thread run. Each does the whole start:
// writes what its run reads (the target coin index, the edited row or
// parameters), refuses when a run exists, and starts the run. The window's
// buttons and dialogs and the console call the same functions. Each returns
// whether the run was started; its own text is queued when not.
#pragma once

#include <cstdint>

// Main window START (also pressed once at start-up): identification, coin
// table, monitoring.
bool StartIdentification();
// Main window menu "Export Current Parameters": the acceptor's log.
bool StartLogExport();
// Coin description dialog, "Write to Coin Acceptor": the description in
// abCoinImage into acceptor coin index `coinIndex`.
bool StartCoinWrite(int32_t coinIndex);
// Divider and inherit dialog: puts the edit into row `row`, selects it
// and sends it. The only starter that keeps dwLastRecordNumber, and the
// only one with its own text for a run that already exists; the row is
// not touched then.
bool StartDividerEdit(int32_t row, const char* typedDivider, bool inherit);
// Maximum errors and dividers dialog: the three acceptance parameters as
// typed, then sub-command 7.
bool StartMaxErrorsEdit(const char* typedMaxError, const char* typedNNetDivider, const char* typedNumbStandDev);
