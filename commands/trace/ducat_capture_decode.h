// `ducat decode FILE`: a trace, or a raw byte capture of the link, read
// back and shown in the trace's decoded view.
#pragma once

#include <cstdio>
#include <string>

// Prints the decoded view to `out` and every line that is not a trace
// line, with its number, to `err`. A raw capture is cut where frames hold
// (commands/trace/ducat_frame_cutter.h), with noise lines between. Returns
// the number of lines that are not trace lines plus that of noise lines (0:
// a clean capture), or -1 (with the reason on `err`) when the file cannot be
// read.
int DecodeDucatCapture(const std::string& path, std::FILE* out, std::FILE* err);
