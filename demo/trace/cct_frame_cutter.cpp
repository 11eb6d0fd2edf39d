#include "demo/trace/cct_frame_cutter.h"

#include "demo/driver/bus_scan.h"
#include "demo/driver/cct_protocol.h"

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

// The state is the destination of the last request.
platform::FrameRules CctFrameRules() {
    platform::FrameRules rules;
    rules.length = [](int asked, const uint8_t* b, size_t n) -> size_t {
        if (n <= kCctSource) return 0;
        const bool fits = (FromHost(b) || FromDeviceAsked(asked, b)) && b[kCctLength] <= MAX_REQUEST_DATA;
        return fits ? kCctFrameOverhead + b[kCctLength] : platform::kNoFrame;
    };
    rules.holds = [](int, const uint8_t* b, size_t n) { return CctSumIsZero(b, n); };
    rules.next = [](int asked, const uint8_t* frame, size_t) {
        return FromHost(frame) ? static_cast<int>(frame[kCctDestination]) : asked;
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
    line.meaning = decoder_.Describe(line.direction, line.bytes);
    return line;
}
