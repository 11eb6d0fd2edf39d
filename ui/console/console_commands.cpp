#include "ui/console/console_commands.h"

#include "coindata/coin_description.h"
#include "coindata/coin_description_file.h"
#include "coindata/device_coin_table.h"
#include "coindata/file_result.h"
#include "link/acceptor_protocol.h"
#include "link/command_mailbox.h"
#include "link/port_settings.h"
#include "ui/console/console_view.h"
#include "ui/console/file_show.h"
#include "ui/console/run_driver.h"
#include "ui/parameter_clamping.h"
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
    return DriveRun(StartIdentification, view, TableReadBack, timeoutSeconds) == RunOutcome::GoalReached;
}

int Status(bool success) { return success ? kExitSuccess : kExitFailure; }

int Monitor(const ConsoleOptions& o) {
    ConsoleView view(stdout, true);
    const RunOutcome outcome = DriveRun(StartIdentification, view, {}, o.timeoutSeconds);
    // Monitoring ends only on STOP; a run that ended by itself failed.
    const bool stopped = outcome == RunOutcome::Interrupted || outcome == RunOutcome::TimedOut;
    return Status(stopped && view.identified());
}

// Prepares the acceptor, then drives the command's own run, started by
// `start` (the dialog's starter).
RunOutcome PreparedRun(ConsoleView& view, const ConsoleOptions& o, const std::function<bool()>& start,
                       const std::function<bool()>& goal) {
    if (!PrepareAcceptor(view, o.timeoutSeconds)) return RunOutcome::NotStarted;
    return DriveRun(start, view, goal, o.timeoutSeconds);
}

RunOutcome PreparedRun(const ConsoleOptions& o, const std::function<bool()>& start, const std::function<bool()>& goal) {
    ConsoleView view(stdout, false);
    return PreparedRun(view, o, start, goal);
}

int ExportLog(const ConsoleOptions& o) {
    ConsoleView view(stdout, false);
    const RunOutcome outcome = PreparedRun(view, o, StartLogExport, {});
    return Status(outcome == RunOutcome::EndedByItself && view.logDumpsWritten() > 0);
}

int WriteCoin(const ConsoleOptions& o) {
    if (ReadCoinDescription(o.arguments[0].c_str()) != kFileOk) {
        std::fprintf(stderr, "ducat: %s is not a readable coin description file\n", o.arguments[0].c_str());
        return kExitFailure;
    }
    const auto start = [] { return StartCoinWrite(CurrentCoinDescription.bCoinIndex); };
    return Status(PreparedRun(o, start, TableReadBack) == RunOutcome::GoalReached);
}

int SetDivider(const ConsoleOptions& o) {
    const uint32_t row = ReadUnsignedField(o.arguments[0].c_str());
    if (o.arguments[0].empty() || row >= static_cast<uint32_t>(kDeviceCoinRows)) {
        std::fprintf(stderr, "ducat: ROW is a coin table row, 0 to 15\n");
        return kExitUsage;
    }
    // As the divider dialog: the values go into the row, then the run sends them.
    const auto start = [&] {
        return StartDividerEdit(static_cast<int32_t>(row), o.arguments[1].c_str(),
                                ReadUnsignedField(o.arguments[2].c_str()) != 0);
    };
    return Status(PreparedRun(o, start, TableReadBack) == RunOutcome::GoalReached);
}

int SetParams(const ConsoleOptions& o) {
    const auto start = [&] {
        return StartMaxErrorsEdit(o.arguments[0].c_str(), o.arguments[1].c_str(), o.arguments[2].c_str());
    };
    return Status(PreparedRun(o, start, TableReadBack) == RunOutcome::GoalReached);
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
    return kExitUsage;
}
