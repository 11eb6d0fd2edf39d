// The session report of `poll`: the summary on the terminal and, with
// --report FOLDER, events.csv and summary.csv.
#pragma once

#include "demo/console/console_args.h"
#include "demo/core/demo_core.h"
#include "demo/report/poll_session.h"

// The session takes every read of the core's event buffer from here on; with
// --report its events.csv is opened. False (message printed) when the folder
// is unusable.
bool StartSessionReport(PollSession& session, CDemoCore& core, const PollbenchArgs& args);
// The core's reads go to the session no more; the summary on the terminal
// and, with --report, summary.csv. Returns the poll command's exit status.
int EndSessionReport(PollSession& session, CDemoCore& core, const PollbenchArgs& args);
// The summary on the terminal and, with --report, summary.csv, for a session
// fed by anything (a sniff's too). Returns the command's exit status.
int FinishSessionReport(PollSession& session, const PollbenchArgs& args);
