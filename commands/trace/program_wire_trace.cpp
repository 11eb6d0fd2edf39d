#include "commands/trace/program_wire_trace.h"

#include "link/run_environment.h"
#include "platform/trace_file.h"

#include <mutex>

namespace {

struct ProgramTrace {
    platform::TraceFile file;
    std::mutex listenerLock;
    DucatWireTrace::FrameSink listener;
    DucatWireTrace wire{[this](const platform::TraceLine& line) { file.Write(line); },
                        [this](platform::TraceDirection direction, const std::vector<uint8_t>& frame, int function) {
                            std::lock_guard<std::mutex> guard(listenerLock);
                            if (listener) listener(direction, frame, function);
                        }};
    using Opener = std::unique_ptr<platform::SerialPort> (*)(const std::string& name, uint32_t& error);
    Opener previous = nullptr; // set while the tap is installed
};

ProgramTrace& Trace() {
    static ProgramTrace trace;
    return trace;
}

std::unique_ptr<platform::SerialPort> OpenTapped(const std::string& name, uint32_t& error) {
    ProgramTrace& trace = Trace();
    std::unique_ptr<platform::SerialPort> port = trace.previous(name, error);
    if (!port) {
        trace.wire.NotePort("cannot open " + name + ", error " + std::to_string(error));
        return nullptr;
    }
    trace.wire.NotePort("opened " + name);
    return std::make_unique<TracedPort>(std::move(port), trace.wire);
}

void InstallTap() {
    ProgramTrace& trace = Trace();
    if (trace.previous != nullptr) return;
    RunEnvironment environment = CurrentRunEnvironment();
    trace.previous = environment.openPort;
    environment.openPort = OpenTapped;
    SetRunEnvironment(environment);
}

} // namespace

bool StartDucatTrace(const std::string& path, std::string& error) {
    if (!Trace().file.Open(path, error)) return false;
    InstallTap();
    return true;
}

void WriteDucatTraceLine(const platform::TraceLine& line) { Trace().file.Write(line); }

void SetDucatFrameListener(DucatWireTrace::FrameSink listener) {
    ProgramTrace& trace = Trace();
    const bool listening = static_cast<bool>(listener);
    {
        std::lock_guard<std::mutex> guard(trace.listenerLock);
        trace.listener = std::move(listener);
    }
    if (listening) InstallTap();
}

void StopDucatTrace() {
    ProgramTrace& trace = Trace();
    SetDucatFrameListener({});
    trace.file.Close();
    if (trace.previous != nullptr) {
        RunEnvironment environment = CurrentRunEnvironment();
        environment.openPort = trace.previous;
        SetRunEnvironment(environment);
    }
    trace.previous = nullptr;
}
