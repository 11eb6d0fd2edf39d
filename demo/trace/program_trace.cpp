#include "demo/trace/program_trace.h"

#include "demo/trace/cct_wire_trace.h"
#include "platform/trace_file.h"

namespace {

struct ProgramTrace {
    platform::TraceFile file;
    CctWireTrace wire{[this](const platform::TraceLine& line) { file.Write(line); }, {}};
};

ProgramTrace& Trace() {
    static ProgramTrace trace;
    return trace;
}

} // namespace

bool StartProgramTrace(const std::string& path, std::string& error) { return Trace().file.Open(path, error); }

void StopProgramTrace() { Trace().file.Close(); }

void WriteProgramTraceLine(const platform::TraceLine& line) { Trace().file.Write(line); }

CCctDriver::TraceHook ProgramTraceHook() {
    ProgramTrace& trace = Trace();
    if (!trace.file.IsOpen()) return {};
    return trace.wire.Hook();
}
