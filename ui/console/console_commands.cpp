#include "ui/console/console_commands.h"

#include "coindata/files/checksum_envelope.h"
#include "coindata/files/coin_description_file.h"
#include "coindata/files/data_paths.h"
#include "coindata/files/file_result.h"
#include "coindata/files/log_dump_file.h"
#include "coindata/files/log_dump_name.h"
#include "coindata/records/coin_description.h"
#include "coindata/records/device_coin_table.h"
#include "coindata/records/device_info.h"
#include "commands/protocol/acceptor_layouts.h"
#include "link/port_settings.h"
#include "platform/clock.h"
#include "platform/text_encoding.h"
#include "platform/port_names.h"
#include "ui/console/console_view.h"
#include "ui/console/console_sniff.h"
#include "ui/console/console_wire.h"
#include "ui/console/file_show.h"
#include "ui/console/port_notes.h"
#include "ui/console/run_driver.h"
#include "ui/parameter_clamping.h"
#include "ui/starters.h"

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

namespace {

// The chain of a write has come round to monitoring: the acceptor took
// the write and its table has been read back.
bool TableReadBack(uint8_t subCommand) { return subCommand == acceptor::kSubMonitor; }
bool TableReadBackBy(const RunLook& look) { return TableReadBack(look.subCommand); }

// The acceptor took the write (the chain moved on to the table read), but
// the table has not come back yet, where the run ended.
bool WriteTakenTableMissing(const ConsoleView& view) { return view.LastSubCommand() == acceptor::kSubReadTable; }

void Say(const std::string& text) { std::fprintf(stderr, "ducat: %s\n", text.c_str()); }

// Why a run did not get where its command wanted, when its own lines may
// not tell (a deadline, Ctrl+C).
std::string WhyNot(RunOutcome outcome, const ConsoleOptions& o) {
    switch (outcome) {
    case RunOutcome::TimedOut: return "--timeout " + std::to_string(o.timeoutSeconds) + " s ran out";
    case RunOutcome::Interrupted: return "stopped by Ctrl+C";
    case RunOutcome::EndedByItself: return "the run ended by itself";
    case RunOutcome::NotStarted: return "no run was started";
    case RunOutcome::GoalReached: break;
    }
    return "";
}

// The window offers the commands only after a run has identified the
// acceptor and read its table; the console makes such a run first (the
// cipher key and the row values are then the acceptor's).
bool PrepareAcceptor(ConsoleView& view, const ConsoleOptions& o) {
    const RunOutcome outcome = DriveRun(StartIdentification, view, TableReadBackBy, o.timeoutSeconds);
    if (outcome == RunOutcome::GoalReached) return true;
    Say("the acceptor's coin table was not read (" + WhyNot(outcome, o) + "), so " + o.command + " was not run");
    return false;
}

int Status(bool success) { return success ? kExitSuccess : kExitFailure; }

int Monitor(const ConsoleOptions& o) {
    ConsoleView view(stdout, true);
    CalibrationReport report;
    if (!StartCalibrationReport(o, report, view)) return kExitFailure;
    const RunOutcome outcome = DriveRun(StartIdentification, view, {}, o.timeoutSeconds);
    const bool reported = EndCalibrationReport(o, report, view);
    // Monitoring ends only on STOP; a run that ended by itself failed, and
    // so did one that never got as far as the coin table.
    if (outcome != RunOutcome::Interrupted && outcome != RunOutcome::TimedOut) {
        Say("monitoring ended: " + WhyNot(outcome, o));
        return kExitFailure;
    }
    if (!TableReadBack(view.LastSubCommand())) {
        Say("the coin table was never read (" + WhyNot(outcome, o) + ")");
        return kExitFailure;
    }
    return reported ? kExitSuccess : kExitFailure;
}

// Prepares the acceptor, then drives the command's own run, started by
// `start` (the dialog's starter).
RunOutcome PreparedRun(ConsoleView& view, const ConsoleOptions& o, const std::function<bool()>& start,
                       const std::function<bool(const RunLook&)>& goal) {
    if (!PrepareAcceptor(view, o)) return RunOutcome::NotStarted;
    return DriveRun(start, view, goal, o.timeoutSeconds);
}

// A writing command, prepared and run, and its status: done when the table
// came back; its own code when the acceptor took the write but the table
// read never succeeded.
int WriteStatus(const ConsoleOptions& o, const std::function<bool()>& start, const char* written) {
    ConsoleView view(stdout, false);
    const RunOutcome outcome = PreparedRun(view, o, start, TableReadBackBy);
    if (outcome == RunOutcome::GoalReached) return kExitSuccess;
    if (outcome == RunOutcome::NotStarted) return kExitFailure; // said by the preparation
    if (WriteTakenTableMissing(view)) {
        Say(std::string(written) + ", but the coin table was not read back (" + WhyNot(outcome, o) + ")");
        return kExitNotReadBack;
    }
    Say(std::string(written) + " was not done (" + WhyNot(outcome, o) + ")");
    return kExitFailure;
}

// The dump as the log read wrote it: its path and the pages it holds.
void ReportLogDump(uint64_t startedMs) {
    const std::string path = NativePath(LogDumpPath(LogDumpName(GetDeviceInfo().szSerial)));
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    const std::streamoff size = file ? static_cast<std::streamoff>(file.tellg()) : 0;
    const std::streamoff pageBytes = size - static_cast<std::streamoff>(kEnvelopeBytes + kLogTrailerBytes);
    const long long pages = pageBytes > 0 ? pageBytes / static_cast<std::streamoff>(kLogPageBytes) : 0;
    const double seconds = static_cast<double>(platform::SteadyMilliseconds() - startedMs) / 1000.0;
    std::printf("log dump written to %s: %lld pages in %.1f s\n", platform::Cp1251ToTerminal(path).c_str(), pages,
                seconds);
    std::fflush(stdout);
}

int ExportLog(const ConsoleOptions& o) {
    ConsoleView view(stdout, false);
    uint64_t startedMs = 0;
    const auto start = [&startedMs] {
        startedMs = platform::SteadyMilliseconds();
        return StartLogExport();
    };
    const RunOutcome outcome = PreparedRun(view, o, start, {});
    // The dump is the work: once it is written the export succeeded, even
    // when the deadline or Ctrl+C came during the run's end.
    if (view.LogDumpsWritten() > 0) {
        ReportLogDump(startedMs);
        return kExitSuccess;
    }
    if (outcome != RunOutcome::NotStarted) Say("no log dump was written (" + WhyNot(outcome, o) + ")");
    return kExitFailure;
}

int WriteCoin(const ConsoleOptions& o) {
    if (ReadCoinDescription(o.arguments[0].c_str()) != kFileOk) {
        Say(o.arguments[0] + " is not a readable coin description file");
        return kExitFailure;
    }
    const auto start = [] { return StartCoinWrite(CurrentCoinDescription.bCoinIndex); };
    return WriteStatus(o, start, "the coin description write");
}

int SetDivider(const ConsoleOptions& o) {
    // The arguments were checked as numbers; the divider dialog's own
    // reading and clamping then applies to them.
    const int32_t row = static_cast<int32_t>(ReadUnsignedField(o.arguments[0].c_str()));
    const auto start = [&] { return StartDividerEdit(row, o.arguments[1].c_str(), o.arguments[2] == "1"); };
    return WriteStatus(o, start, "the divider write");
}

int SetParams(const ConsoleOptions& o) {
    const auto start = [&] {
        return StartMaxErrorsEdit(o.arguments[0].c_str(), o.arguments[1].c_str(), o.arguments[2].c_str());
    };
    return WriteStatus(o, start, "the parameter write");
}

// "COM3  /dev/serial/by-id/usb-...  (/dev/ttyUSB0)": the number `--port`
// takes, the name a run opens and, for a link, the device it is today.
// Then each port that exists but does not open, and why.
int Ports() {
    std::vector<platform::PortName> ports;
    std::vector<RefusedPort> refused;
    ScanComPorts(&ports, &refused);
    for (const auto& port : ports) std::printf("%s\n", platform::DescribePort(port).c_str());
    const std::vector<std::string> unopened = RefusedPortLines(refused);
    if (ports.empty() && unopened.empty()) std::printf("no serial port found\n");
    for (const auto& line : unopened) std::printf("%s\n", line.c_str());
    return kExitSuccess;
}

// No port was named and none opened: what exists and why it does not open,
// instead of a run on a port that was never found.
int NoPortOpens() {
    std::vector<RefusedPort> refused;
    ScanComPorts(nullptr, &refused);
    const std::vector<std::string> unopened = RefusedPortLines(refused);
    Say(unopened.empty() ? "no serial port found; name one with --port" : "no serial port opens; name one with --port");
    for (const auto& line : unopened) std::fprintf(stderr, "%s\n", line.c_str());
    return kExitFailure;
}

} // namespace

int RunConsoleCommand(const ConsoleOptions& o) {
    const bool usesPort = o.command != "ports" && o.command != "show" && o.command != "decode";
    if (usesPort && szPortName[0] == '\0') return NoPortOpens();
    if (o.command == "monitor") return Monitor(o);
    if (o.command == "export-log") return ExportLog(o);
    if (o.command == "write-coin") return WriteCoin(o);
    if (o.command == "set-divider") return SetDivider(o);
    if (o.command == "set-params") return SetParams(o);
    if (o.command == "ports") return Ports();
    if (o.command == "show") return Status(ShowDataFile(o.arguments[0], stdout));
    if (o.command == "decode") return DecodeCommand(o);
    if (o.command == "sniff") return SniffCommand(o);
    return kExitUsage;
}
