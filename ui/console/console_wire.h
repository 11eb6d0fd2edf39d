// The console's wire-level additions: --trace, the calibration report of
// `monitor --report` and `decode`.
#pragma once

#include "ui/console/console_options.h"
#include "ui/report/calibration_report.h"

// Opens the trace of --trace; false (message printed) when it cannot.
bool StartConsoleTrace(const ConsoleOptions& options);

// With --report: opens the report and has it listen to the link. False
// (message printed) when the folder is unusable.
bool StartCalibrationReport(const ConsoleOptions& options, CalibrationReport& report);
// Prints the summary table and, with --report, writes the summary files.
bool EndCalibrationReport(const ConsoleOptions& options, CalibrationReport& report);

// `decode FILE`: the exit status.
int DecodeCommand(const ConsoleOptions& options);
