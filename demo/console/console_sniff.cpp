#include "demo/console/console_sniff.h"

#include "demo/console/console_commands.h"
#include "demo/console/console_port_notes.h"
#include "demo/console/console_session_report.h"
#include "demo/console/console_wire_commands.h"
#include "demo/console/heard_host.h"
#include "demo/core/settings.h"
#include "demo/trace/cct_frame_cutter.h"
#include "demo/trace/program_trace.h"
#include "platform/bus_listener.h"
#include "platform/port_open_failure.h"
#include "platform/trace_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

constexpr uint32_t kSlowestSpeed = 300;
constexpr uint32_t kFastestSpeed = 1000000;
constexpr uint32_t kLongestTimeout = 86400; // a day
constexpr uint64_t kMsPerSecond = 1000;
constexpr char kListCommand[] = "pollbench search";

bool ReadWhole(const std::string& text, uint32_t min, uint32_t max, uint32_t& value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 9) return false;
    const unsigned long n = std::strtoul(text.c_str(), nullptr, 10);
    if (n < min || n > max) return false;
    value = static_cast<uint32_t>(n);
    return true;
}

void Say(std::FILE* to, const std::string& line) {
    std::fprintf(to, "%s\n", line.c_str());
    std::fflush(to);
}

// The session report of the host heard, when --report asks for one.
struct HeardReport {
    HeardHost host;
    PollSession session{host};
    HeardExchanges exchanges{[this](const CctExchange& x) {
        PollCounts counts;
        if (host.Take(x, counts)) session.OnEventsRead(counts);
    }};
};

} // namespace

bool TakeSniffArgument(const std::vector<std::string>& w, size_t& i, PollbenchArgs& args, std::string& error) {
    const std::string& name = w[i];
    if (name != "--speed" && name != "--raw" && name != "--report" && name != "--timeout") return false;
    error.clear();
    if (i + 1 >= w.size()) {
        error = name + " needs a value";
        return true;
    }
    const std::string& value = w[++i];
    if (name == "--raw") {
        args.sniff.rawFile = value;
    } else if (name == "--report") {
        args.reportDir = value;
    } else if (name == "--speed" && !ReadWhole(value, kSlowestSpeed, kFastestSpeed, args.sniff.speed)) {
        error = "--speed takes 300..1000000 bit/s";
    } else if (name == "--timeout" && !ReadWhole(value, 1, kLongestTimeout, args.sniff.timeoutSeconds)) {
        error = "--timeout takes 1..86400 seconds";
    }
    return true;
}

int Sniff(const PollbenchArgs& args, const SniffPortOpener& open, std::FILE* out, const std::function<bool()>& stop) {
    // A driver only to name the port as every other command does; the sniff
    // sets none of the program's settings (a host may run beside it).
    CCctDriver driver;
    if (args.portNumber != 0) {
        driver.portNumber = static_cast<uint8_t>(args.portNumber);
    } else if (!args.port.empty()) {
        driver.portName = args.port;
    } else {
        driver.portNumber = g_ComPort;
    }
    const std::string device = driver.PortDevice();
    uint32_t error = 0;
    std::unique_ptr<platform::SerialPort> port = device.empty() ? nullptr : open(device, error);
    const std::string portName = PortForMessages(driver, args);
    if (!port) {
        const platform::OpenFailure failure = platform::DescribeOpenFailure(portName, device, error);
        Say(out, platform::OpenFailureLine(failure, kListCommand));
        return 1;
    }
    if (!platform::PrepareListening(*port, args.sniff.speed, error)) {
        Say(out, "cannot set " + portName + " to " + std::to_string(args.sniff.speed) + " bit/s 8N1: " +
                     std::strerror(static_cast<int>(error)));
        return 1;
    }
    platform::TraceFile raw;
    std::string fileError;
    if (!args.sniff.rawFile.empty() && !raw.Open(args.sniff.rawFile, fileError)) {
        Say(stderr, "pollbench: " + fileError);
        return 1;
    }
    HeardReport report;
    std::string reportError;
    if (!args.reportDir.empty() && !report.session.OpenReport(args.reportDir, reportError)) {
        Say(stderr, "pollbench: " + reportError);
        return 1;
    }
    Say(out, "listening on " + portName + " at " + std::to_string(args.sniff.speed) + " bit/s 8N1, not writing");
    CctFrameCutter cutter;
    platform::BusListener listener(platform::CutterOf(cutter), [&](const platform::TraceLine& line) {
        Say(out, platform::FormatTraceLine(line));
        WriteProgramTraceLine(line);
        report.exchanges.OnLine(line);
    });
    platform::ListenSettings settings;
    settings.baudRate = args.sniff.speed;
    settings.timeoutMs = args.sniff.timeoutSeconds * kMsPerSecond;
    const platform::HeardSink heard = raw.IsOpen() ? platform::HeardSink([&raw](const platform::TraceLine& line) {
        raw.Write(line);
    }) : platform::HeardSink();
    const bool readFine = platform::ListenOnPort(*port, settings, listener, heard, stop, error);
    port->Close();
    if (!readFine) Say(out, "the line to " + portName + " is gone: " + std::strerror(static_cast<int>(error)));
    Say(out, platform::ListenCountsText(listener.Counts()));
    if (!args.reportDir.empty() && FinishSessionReport(report.session, args) != 0) return 1;
    return readFine ? 0 : 1;
}

int RunSniff(const PollbenchArgs& args, std::FILE* out) {
    return Sniff(args, platform::OpenSerialPort, out, [] { return g_interrupted != 0; });
}
