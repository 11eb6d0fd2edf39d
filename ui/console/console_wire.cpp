#include "ui/console/console_wire.h"

#include "coindata/records/device_coin_table.h"
#include "commands/trace/ducat_capture_decode.h"
#include "commands/trace/program_wire_trace.h"
#include "ui/console/console_commands.h"

#include <cstdio>

bool StartConsoleTrace(const ConsoleOptions& options) {
    if (options.traceFile.empty()) return true;
    std::string error;
    if (StartDucatTrace(options.traceFile, error)) return true;
    std::fprintf(stderr, "ducat: %s\n", error.c_str());
    return false;
}

bool StartCalibrationReport(const ConsoleOptions& options, CalibrationReport& report, ConsoleView& view) {
    if (options.reportDir.empty()) return true;
    std::string error;
    if (!report.Open(options.reportDir, error)) {
        std::fprintf(stderr, "ducat: %s\n", error.c_str());
        return false;
    }
    view.ListenToLooks([&report](const RunLook& look) { report.Take(look.results, look.missedResults); });
    return true;
}

bool EndCalibrationReport(const ConsoleOptions& options, CalibrationReport& report, ConsoleView& view) {
    if (options.reportDir.empty()) return true;
    view.ListenToLooks({});
    const int maxError = stDeviceCoins.GetAcceptanceParams().Max_Error;
    const std::string table = CalibrationSummaryTable(report.Summaries(maxError), maxError, report.MissedCount());
    std::printf("calibration report:\n%s", table.c_str());
    std::string error;
    if (!report.Finish(maxError, error)) {
        std::fprintf(stderr, "ducat: %s\n", error.c_str());
        return false;
    }
    std::printf("results.csv, summary.csv and errors.svg in %s\n", options.reportDir.c_str());
    std::fflush(stdout);
    return true;
}

int DecodeCommand(const ConsoleOptions& options) {
    return DecodeDucatCapture(options.arguments[0], stdout, stderr) == 0 ? kExitSuccess : kExitFailure;
}
