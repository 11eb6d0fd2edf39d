#include "demo/trace/program_trace.h"

#include "platform/trace_file.h"

#include <memory>

namespace {

struct ProgramTrace {
    platform::TraceFile file;
    CctWireTrace::ExchangeSink listener;
    CctWireTrace wire{[this](const platform::TraceLine& line) { file.Write(line); },
                      [this](const CctExchange& exchange) {
                          if (listener) listener(exchange);
                      }};
};

ProgramTrace& Trace() {
    static ProgramTrace trace;
    return trace;
}

} // namespace

bool StartProgramTrace(const std::string& path, std::string& error) { return Trace().file.Open(path, error); }

void StopProgramTrace() { Trace().file.Close(); }

void SetProgramExchangeListener(CctWireTrace::ExchangeSink listener) { Trace().listener = std::move(listener); }

void WriteProgramTraceLine(const platform::TraceLine& line) { Trace().file.Write(line); }

CCctDriver::TraceHook ProgramTraceHook() {
    ProgramTrace& trace = Trace();
    if (!trace.file.IsOpen() && !trace.listener) return {};
    return trace.wire.Hook();
}
