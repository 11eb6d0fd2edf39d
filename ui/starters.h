// The five starters of a service-thread run: what each writes into the
// mailbox and what it queues when the run cannot start. The window's
// buttons and dialogs and the console start runs only through these.
#pragma once

#include "link/com_thread.h"

// Main window START (also pressed once at start-up): identification, coin
// table, monitoring.
StartRequest StartButtonRequest();
// Main window menu "Export Current Parameters": the acceptor's log.
StartRequest ExportLogRequest();
// Coin description dialog, "Write to Coin Acceptor". The starter also sets
// iTargetCoinIndex to the loaded description's coin index.
StartRequest CoinWriteRequest();
// Divider and inherit dialog: sub-command 6 for iSelectedDeviceCoin. The
// only starter that keeps dwLastRecordNumber, and the only one with its own
// text for a run that already exists.
StartRequest DividerEditRequest();
// Maximum errors and dividers dialog: sub-command 7.
StartRequest MaxErrorsRequest();
