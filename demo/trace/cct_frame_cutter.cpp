#include "demo/trace/cct_frame_cutter.h"

#include "demo/driver/bus_scan.h"
#include "demo/driver/cct_protocol.h"
#include "demo/trace/cct_crc16.h"

namespace {

using platform::StreamPiece;
using platform::TraceDirection;
using platform::TraceLine;

constexpr int kNoRequest = 0; // the state before any request: the device asked is not known

// Every frame on the host's line goes between the host and a device: from
// the host (source 1) to a device address (2 to 255), or back from the
// device the last request went to. Bytes that start any other are no frame:
// a run of zero bytes would hold as one, and so would a zero byte in front
// of a frame that it makes one byte longer, or a frame read one byte late.
bool FromHost(const uint8_t* b) { return b[kCctSource] == HOST_ADDRESS && b[kCctDestination] >= kFirstDeviceAddress; }

bool FromDeviceAsked(int asked, const uint8_t* b) {
    return b[kCctDestination] == HOST_ADDRESS && b[kCctSource] >= kFirstDeviceAddress &&
           (asked == kNoRequest || b[kCctSource] == asked);
}

bool HoldsSimple(int asked, const uint8_t* b, size_t n) {
    return (FromHost(b) || FromDeviceAsked(asked, b)) && CctSumIsZero(b, n);
}

// A CRC-16 frame names no source: any destination but the broadcast one,
// its CRC (one in 65536 by chance) decides.
bool MayHoldCrc16(const uint8_t* b) { return b[kCctDestination] != 0; }

// The state is the destination of the last request.
platform::FrameRules CctFrameRules() {
    platform::FrameRules rules;
    rules.length = [](int, const uint8_t* b, size_t n) -> size_t {
        if (n <= kCctSource) return 0;
        // Whom a frame with the simple checksum goes between is for `holds`.
        const bool fits = MayHoldCrc16(b) && b[kCctLength] <= MAX_REQUEST_DATA;
        return fits ? kCctFrameOverhead + b[kCctLength] : platform::kNoFrame;
    };
    rules.holds = [](int asked, const uint8_t* b, size_t n) {
        return HoldsSimple(asked, b, n) || (MayHoldCrc16(b) && CctCrc16Holds(b, n));
    };
    rules.next = [](int asked, const uint8_t* frame, size_t) {
        return frame[kCctDestination] != HOST_ADDRESS ? static_cast<int>(frame[kCctDestination]) : asked;
    };
    rules.echoes = true;
    return rules;
}

} // namespace

CctFrameCutter::CctFrameCutter() : finder_(CctFrameRules(), kNoRequest) {}

std::vector<TraceLine> CctFrameCutter::Feed(const uint8_t* bytes, size_t n, size_t offset) {
    return Lines(finder_.Feed(bytes, n, offset));
}

std::vector<TraceLine> CctFrameCutter::Finish() { return Lines(finder_.Finish()); }

std::vector<TraceLine> CctFrameCutter::Lines(const std::vector<StreamPiece>& pieces) {
    std::vector<TraceLine> lines;
    for (const StreamPiece& piece : pieces) lines.push_back(piece.frame ? FrameLine(piece) : platform::NoiseLine(piece));
    return lines;
}

TraceLine CctFrameCutter::FrameLine(const StreamPiece& piece) {
    TraceLine line;
    line.time = platform::RawOffsetStamp(piece.offset);
    line.bytes = piece.bytes;
    if (echoDue_ && line.bytes == lastHost_) {
        line.direction = TraceDirection::Echo;
        echoDue_ = false;
    } else if (line.bytes[kCctDestination] == HOST_ADDRESS) {
        line.direction = TraceDirection::Device;
        echoDue_ = false;
    } else {
        line.direction = TraceDirection::Host;
        lastHost_ = line.bytes;
        echoDue_ = true;
    }
    line.meaning = describer_.Describe(line.direction, line.bytes);
    return line;
}
