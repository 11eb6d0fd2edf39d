#include "ui/console/console_sniff.h"

#include "commands/trace/ducat_frame_cutter.h"
#include "commands/trace/program_wire_trace.h"
#include "link/com_port.h"
#include "link/port_settings.h"
#include "platform/bus_listener.h"
#include "platform/trace_file.h"
#include "ui/console/console_commands.h"
#include "ui/console/port_notes.h"
#include "ui/console/run_driver.h"

#include <cstring>

namespace {

constexpr uint64_t kMsPerSecond = 1000;

void Say(std::FILE* to, const std::string& line) {
    std::fprintf(to, "%s\n", line.c_str());
    std::fflush(to);
}

} // namespace

int SniffLink(const ConsoleOptions& options, const std::string& port, uint32_t speed, const SniffPortOpener& open,
              std::FILE* out, const SniffLineSink& alsoTo, const std::function<bool()>& stop) {
    uint32_t error = 0;
    std::unique_ptr<platform::SerialPort> line = open(port, error);
    if (!line) {
        PortOpenFailureRecord failure;
        failure.port = port;
        failure.error = error;
        failure.failures = 1;
        Say(out, OpenFailureNote(failure));
        return kExitFailure;
    }
    if (!platform::PrepareListening(*line, speed, error)) {
        Say(out, "cannot set " + port + " to " + std::to_string(speed) + " bit/s 8N1: " +
                     std::strerror(static_cast<int>(error)));
        return kExitFailure;
    }
    platform::TraceFile raw;
    std::string fileError;
    if (!options.rawFile.empty() && !raw.Open(options.rawFile, fileError)) {
        Say(stderr, "ducat: " + fileError);
        return kExitFailure;
    }
    Say(out, "listening on " + port + " at " + std::to_string(speed) + " bit/s 8N1, not writing");
    DucatFrameCutter cutter;
    bool keyNoted = false;
    platform::BusListener listener(platform::CutterOf(cutter), [&](const platform::TraceLine& l) {
        Say(out, platform::FormatTraceLine(l));
        if (alsoTo) alsoTo(l);
        // Said once: the sealed lines name it too.
        if (!keyNoted && l.meaning.find("no key yet") != std::string::npos) {
            keyNoted = true;
            Say(out, "no key yet: the sniff began mid-session; sealed payloads are shown as heard until the next "
                     "identification reply");
        }
    });
    platform::ListenSettings settings;
    settings.baudRate = speed;
    settings.timeoutMs = options.timeoutSeconds * kMsPerSecond;
    const platform::HeardSink heard =
        raw.IsOpen() ? platform::HeardSink([&raw](const platform::TraceLine& l) { raw.Write(l); }) : platform::HeardSink();
    const bool readFine = platform::ListenOnPort(*line, settings, listener, heard, stop, error);
    line->Close();
    if (!readFine) Say(out, "the line to " + port + " is gone: " + std::strerror(static_cast<int>(error)));
    Say(out, platform::ListenCountsText(listener.Counts()));
    return readFine ? kExitSuccess : kExitFailure;
}

int SniffCommand(const ConsoleOptions& options) {
    return SniffLink(options, szPortName, dwBaudRate, platform::OpenSerialPort, stdout, WriteDucatTraceLine,
                     [] { return Interrupted(); });
}
