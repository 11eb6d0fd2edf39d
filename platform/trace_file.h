// Where a wire trace goes, and how a capture is read back: the same for
// both programs.
#pragma once

#include "platform/trace_line.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace platform {

// A trace file written line by line from any thread; each line is flushed
// at once, so a capture survives a program that is killed.
class TraceFile {
public:
    TraceFile() = default;
    ~TraceFile();
    TraceFile(const TraceFile&) = delete;
    TraceFile& operator=(const TraceFile&) = delete;

    // "-" is standard error. False with `error` when the file cannot be made.
    bool Open(const std::string& path, std::string& error);
    bool IsOpen() const { return file_ != nullptr; }
    void Write(const TraceLine& line);
    void Close();

private:
    std::mutex lock_;
    std::FILE* file_ = nullptr;
    bool ownsFile_ = false;
};

// A capture read back: either the lines of a text trace or raw bytes.
struct Capture {
    bool text = false;
    std::vector<std::string> lines; // text: every line, without its end
    std::vector<uint8_t> bytes;     // raw
};

// Reads `path` whole (at most 64 MiB). A file whose first line that is not
// empty reads as a trace line is a text trace; any other is raw bytes.
bool ReadCapture(const std::string& path, Capture& capture, std::string& error);

// What a program's decoder says of a frame, and how it cuts a raw capture
// into frame lines.
using FrameDescriber = std::function<std::string(TraceDirection direction, const std::vector<uint8_t>& bytes)>;
using RawCutter = std::function<std::vector<TraceLine>(const std::vector<uint8_t>& bytes)>;

// `decode FILE` of both programs: a text trace is printed line by line with
// each frame described anew (so a trace decodes to itself), a raw capture
// as its cutter cuts it (frames that hold, noise lines between them), and so
// is each run of a sniff's raw lines, its lines with the times they were
// heard. Lines
// that are not trace lines go to `err` with their number. Returns their
// count plus that of the noise lines (0: a clean capture), or -1 (reason on
// `err`) when the file cannot be read.
int DecodeCapture(const std::string& path, std::FILE* out, std::FILE* err, const FrameDescriber& describe,
                  const RawCutter& cut);

// The value of `--trace FILE` in a Windows command line (quotes group
// words); empty when there is none. False with `error` for a switch
// without its file.
bool FindTraceSwitch(const std::string& commandLine, std::string& path, std::string& error);

} // namespace platform
