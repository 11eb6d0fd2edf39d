// Ducat Console's link as raw bytes (a capture, or a line heard without
// taking part) cut into trace lines: a frame where its length and checksum
// hold, a noise line for the bytes between. The host sends only header 255,
// from address 1, so a frame of that header is a request (the 271-byte
// description fragment by its long length); any other is a reply, which
// counts only when it goes to the host from the device asked, in the form
// and with the head the codec expects after the last request (any other it
// refuses). The reply's CRC-16 and cipher are shown as the decoder shows
// them.
#pragma once

#include "commands/trace/ducat_frame_decoder.h"
#include "platform/frame_finder.h"
#include "platform/trace_line.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class DucatFrameCutter {
public:
    DucatFrameCutter();

    // Bytes as they come, `offset` being that of the first in the stream:
    // the lines now decided (a frame's line once the bytes after it confirm it).
    std::vector<platform::TraceLine> Feed(const uint8_t* bytes, size_t n, size_t offset);
    // The end of the stream, or of a burst: the lines of every byte left.
    std::vector<platform::TraceLine> Finish();

private:
    std::vector<platform::TraceLine> Lines(const std::vector<platform::StreamPiece>& pieces);
    platform::TraceLine FrameLine(const platform::StreamPiece& piece);

    DucatFrameDecoder decoder_;
    platform::FrameFinder finder_;
};
