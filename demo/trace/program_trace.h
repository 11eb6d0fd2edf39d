// The program's one wire trace: `--trace FILE` of the console and of
// Pollbench.exe, and whoever else wants the exchanges (the session report).
// Every driver made afterwards takes the hook; with neither a file nor a
// listener the hook is empty and the driver traces nothing.
#pragma once

#include "demo/driver/cct_driver.h"
#include "demo/trace/cct_wire_trace.h"

#include <string>

// Opens the trace file ("-" = standard error); false with `error`.
bool StartProgramTrace(const std::string& path, std::string& error);
void StopProgramTrace();

// Receives every exchange from now on (empty = none).
void SetProgramExchangeListener(CctWireTrace::ExchangeSink listener);

// A line that no driver traced (a sniff's) into the trace file, if one is open.
void WriteProgramTraceLine(const platform::TraceLine& line);

// The hook for a driver; empty while nothing listens.
CCctDriver::TraceHook ProgramTraceHook();
