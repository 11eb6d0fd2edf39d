#include "ui/console/console_commands.h"

#include "coindata/coin_description.h"
#include "coindata/coin_description_file.h"
#include "coindata/device_coin_table.h"
#include "coindata/file_result.h"
#include "commands/acceptor_protocol.h"
#include "commands/log_read.h"
#include "link/command_mailbox.h"
#include "link/port_settings.h"
#include "ui/console/console_view.h"
#include "ui/console/console_wire.h"
#include "ui/console/file_show.h"
#include "ui/console/run_driver.h"
#include "ui/parameter_clamping.h"
#include "ui/parameter_edits.h"
#include "ui/starters.h"

#include <cstdio>
#include <functional>

namespace {

// The chain of a write has come round to monitoring: the acceptor took
// the write and its table has been read back.
bool TableReadBack() { return Mailbox.bSubCommand.load(std::memory_order_acquire) == acceptor::kSubMonitor; }

// The window offers the commands only after a run has identified the
// acceptor and read its table; the console makes such a run first (the
// cipher key and the row values are then the acceptor's).
bool PrepareAcceptor(ConsoleView& view, uint32_t timeoutSeconds) {
    return DriveRun(StartButtonRequest(), view, TableReadBack, timeoutSeconds) == RunOutcome::GoalReached;
}

int Status(bool success) { return success ? kExitSuccess : kExitFailure; }

int Monitor(const ConsoleOptions& o) {
    ConsoleView view(stdout, true);
    CalibrationReport report;
    if (!StartCalibrationReport(o, report)) return kExitFailure;
    const RunOutcome outcome = DriveRun(StartButtonRequest(), view, {}, o.timeoutSeconds);
    const bool reported = EndCalibrationReport(o, report);
    // Monitoring ends only on STOP; a run that ended by itself failed.
    const bool stopped = outcome == RunOutcome::Interrupted || outcome == RunOutcome::TimedOut;
    return Status(stopped && view.identified() && reported);
}

// Prepares the acceptor, does `beforeRun` (what a dialog does before its
// start) and drives the command's own run.
RunOutcome PreparedRun(const ConsoleOptions& o, const StartRequest& request, const std::function<bool()>& goal,
                       const std::function<void()>& beforeRun = {}) {
    ConsoleView view(stdout, false);
    if (!PrepareAcceptor(view, o.timeoutSeconds)) return RunOutcome::NotStarted;
    if (beforeRun) beforeRun();
    return DriveRun(request, view, goal, o.timeoutSeconds);
}

int ExportLog(const ConsoleOptions& o) {
    const uint32_t dumpsBefore = LogDumpsWritten();
    const RunOutcome outcome = PreparedRun(o, ExportLogRequest(), {});
    return Status(outcome == RunOutcome::EndedByItself && LogDumpsWritten() > dumpsBefore);
}

int WriteCoin(const ConsoleOptions& o) {
    if (ReadCoinDescription(o.arguments[0].c_str()) != kFileOk) {
        std::fprintf(stderr, "ducat: %s is not a readable coin description file\n", o.arguments[0].c_str());
        return kExitFailure;
    }
    Mailbox.iTargetCoinIndex.store(CurrentCoinDescription.bCoinIndex, std::memory_order_release);
    return Status(PreparedRun(o, CoinWriteRequest(), TableReadBack) == RunOutcome::GoalReached);
}

int SetDivider(const ConsoleOptions& o) {
    const uint32_t row = ReadUnsignedField(o.arguments[0].c_str());
    if (o.arguments[0].empty() || row >= static_cast<uint32_t>(kDeviceCoinRows)) {
        std::fprintf(stderr, "ducat: ROW is a coin table row, 0 to 15\n");
        return kExitUsage;
    }
    // As the divider dialog: the values go into the row, then the run sends them.
    const auto edit = [&] {
        ApplyDividerEdit(static_cast<int32_t>(row), o.arguments[1].c_str(),
                         ReadUnsignedField(o.arguments[2].c_str()) != 0);
        Mailbox.iSelectedDeviceCoin.store(static_cast<int32_t>(row), std::memory_order_release);
    };
    return Status(PreparedRun(o, DividerEditRequest(), TableReadBack, edit) == RunOutcome::GoalReached);
}

int SetParams(const ConsoleOptions& o) {
    const auto edit = [&] {
        ApplyMaxErrorsEdit(o.arguments[0].c_str(), o.arguments[1].c_str(), o.arguments[2].c_str());
    };
    return Status(PreparedRun(o, MaxErrorsRequest(), TableReadBack, edit) == RunOutcome::GoalReached);
}

int Ports() {
    const std::vector<std::string> ports = ScanComPorts();
    for (size_t i = 0; i < ports.size(); ++i) std::printf("%s  %s\n", ports[i].c_str(), ComPortTable.entries[i]);
    if (ports.empty()) std::printf("no serial port opens\n");
    return kExitSuccess;
}

} // namespace

int RunConsoleCommand(const ConsoleOptions& o) {
    if (o.command == "monitor") return Monitor(o);
    if (o.command == "export-log") return ExportLog(o);
    if (o.command == "write-coin") return WriteCoin(o);
    if (o.command == "set-divider") return SetDivider(o);
    if (o.command == "set-params") return SetParams(o);
    if (o.command == "ports") return Ports();
    if (o.command == "show") return Status(ShowDataFile(o.arguments[0], stdout));
    if (o.command == "decode") return DecodeCommand(o);
    return kExitUsage;
}
