// The program's one wire trace of the acceptor link: `--trace FILE` of the
// console and of "Ducat Console.exe", and whoever else wants the frames
// (the calibration report). Once started, every port the link opens is
// tapped: the run environment's port opener is wrapped, so nothing in the
// link changes.
// Start and stop only while no run exists.
#pragma once

#include "commands/trace/ducat_wire_trace.h"

#include <string>

// Opens the trace file ("-" = standard error); false with `error`.
bool StartDucatTrace(const std::string& path, std::string& error);

// Receives every frame of every later run (empty = none).
void SetDucatFrameListener(DucatWireTrace::FrameSink listener);

// A line that no run traced (a sniff's) into the trace file, if one is open.
void WriteDucatTraceLine(const platform::TraceLine& line);

// Closes the file, forgets the listener and gives the link its opener back.
void StopDucatTrace();
