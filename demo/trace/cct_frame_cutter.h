// Pollbench's line as raw bytes (a capture, or a bus heard without taking
// part) cut into trace lines: a frame where its length (0 to 95 data bytes)
// and checksum hold and it goes from the host to a device, or back from the
// device the last request went to; a noise line for the bytes between. A frame addressed
// to the host is the device's; one that repeats the host's frame just
// before it is its echo; any other is the host's. A frame with the CRC-16
// checksum (demo/trace/cct_crc16.h) holds by its CRC and is marked so.
#pragma once

#include "demo/trace/cct_frame_describer.h"
#include "platform/frame_finder.h"
#include "platform/trace_line.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CctFrameCutter {
public:
    CctFrameCutter();

    // Bytes as they come, `offset` being that of the first in the stream:
    // the lines now decided (a frame's line once the bytes after it confirm it).
    std::vector<platform::TraceLine> Feed(const uint8_t* bytes, size_t n, size_t offset);
    // The end of the stream, or of a burst: the lines of every byte left.
    std::vector<platform::TraceLine> Finish();

private:
    std::vector<platform::TraceLine> Lines(const std::vector<platform::StreamPiece>& pieces);
    platform::TraceLine FrameLine(const platform::StreamPiece& piece);

    CctFrameDescriber describer_;
    platform::FrameFinder finder_;
    std::vector<uint8_t> lastHost_;
    bool echoDue_ = false;
};
