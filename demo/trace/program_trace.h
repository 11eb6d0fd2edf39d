// The program's one wire trace: `--trace FILE` of the console and of
// Pollbench.exe. Whoever makes a driver hands it the hook; with no file open
// the hook is empty and the driver traces nothing.
#pragma once

#include "demo/driver/cct_driver.h"
#include "platform/trace_line.h"

#include <string>

// Opens the trace file ("-" = standard error); false with `error`.
bool StartProgramTrace(const std::string& path, std::string& error);
void StopProgramTrace();

// A line that no driver traced (a sniff's) into the trace file, if one is open.
void WriteProgramTraceLine(const platform::TraceLine& line);

// The hook for a driver made now; empty while no file is open.
CCctDriver::TraceHook ProgramTraceHook();
