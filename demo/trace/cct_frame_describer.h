// What a frame on Pollbench's line means, for frames with the simple
// checksum and with the CRC-16 checksum alike: a CRC-16 frame is read as
// the decoder reads its simple form (from the host, or from the device the
// last request went to) and marked "[CRC-16]". Both the cutter of raw
// bytes and `decode` of a trace describe frames so.
#pragma once

#include "demo/trace/cct_frame_decoder.h"
#include "platform/trace_line.h"

#include <cstdint>
#include <string>
#include <vector>

// Added to the meaning of a frame that holds by its CRC-16.
constexpr char kCrc16Mark[] = " [CRC-16]";

class CctFrameDescriber {
public:
    std::string Describe(platform::TraceDirection direction, const std::vector<uint8_t>& frame);

private:
    CctFrameDecoder decoder_;
    uint8_t asked_ = 0; // the destination of the last request
};
