// The console's wire-level additions: --trace, the calibration report of
// `monitor --report` and `decode`.
#pragma once

#include "ui/console/console_options.h"
#include "ui/console/console_view.h"
#include "ui/report/calibration_report.h"

// Opens the trace of --trace; false (message printed) when it cannot.
bool StartConsoleTrace(const ConsoleOptions& options);

// With --report: opens the report and has it take every coin result the
// view's run watch hands over. False (message printed) when the folder is
// unusable.
bool StartCalibrationReport(const ConsoleOptions& options, CalibrationReport& report, ConsoleView& view);
// Prints the summary table and, with --report, writes the summary files.
bool EndCalibrationReport(const ConsoleOptions& options, CalibrationReport& report, ConsoleView& view);

// `decode FILE`: the exit status.
int DecodeCommand(const ConsoleOptions& options);
