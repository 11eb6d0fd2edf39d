// What the raw capture tests of both programs check a cut against: the
// frames that crossed the line, each at its offset in the capture.
#pragma once

#include "platform/trace_line.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace testing_support {

struct WireFrame {
    size_t offset = 0;
    platform::TraceDirection direction = platform::TraceDirection::Host;
    std::vector<uint8_t> bytes;
};

// A capture made of frames one after the other.
struct WireCapture {
    void Add(platform::TraceDirection direction, const std::vector<uint8_t>& frame);
    std::vector<uint8_t> bytes;
    std::vector<WireFrame> frames;
};

std::vector<platform::TraceLine> NoiseLines(const std::vector<platform::TraceLine>& lines);

// A test failure, naming `what`, for each frame that is not a frame line at
// its offset with its bytes and direction.
void ExpectFramesFound(const std::vector<WireFrame>& expected, const std::vector<platform::TraceLine>& lines,
                       const std::string& what);

// The lines are the frames, one for one and in order, each at its offset
// with its direction, bytes and the meaning `describe` gives it (called in
// order, as a decoder that follows the frames needs).
using FrameDescriber = std::function<std::string(platform::TraceDirection, const std::vector<uint8_t>&)>;
void ExpectLinesAreTheFrames(const std::vector<WireFrame>& frames, const std::vector<platform::TraceLine>& lines,
                             const FrameDescriber& describe);

// The only noise line is at `offset` and holds `n` bytes; the other lines
// are the `frames` expected.
void ExpectOneNoiseLine(const std::vector<platform::TraceLine>& lines, size_t offset, size_t n, size_t frames,
                        const std::string& what);

// Each of `strays` put before each frame of `capture` (and behind the last)
// is one noise line of one byte, and the cut finds every frame, moved on by
// it, as it was.
using CaptureCutter = std::function<std::vector<platform::TraceLine>(const std::vector<uint8_t>&)>;
void ExpectEachStrayByteIsOneNoiseLine(const WireCapture& capture, const std::vector<uint8_t>& strays,
                                       const CaptureCutter& cut);

// `bytes` written to `name` in the test's temporary folder; its path.
std::string WriteCapture(const std::vector<uint8_t>& bytes, const std::string& name);

} // namespace testing_support
