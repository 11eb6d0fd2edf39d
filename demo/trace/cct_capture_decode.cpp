#include "demo/trace/cct_capture_decode.h"

#include "demo/driver/cct_protocol.h"
#include "demo/trace/cct_frame_decoder.h"
#include "platform/trace_file.h"

#include <algorithm>

namespace {

using platform::TraceDirection;
using platform::TraceLine;

// A raw capture cut into frames by their length bytes. A frame addressed to
// the host is the device's; one that repeats the host's frame just before
// it is its echo; any other is the host's.
std::vector<TraceLine> CutRaw(const std::vector<uint8_t>& bytes, CctFrameDecoder& decoder) {
    std::vector<TraceLine> lines;
    std::vector<uint8_t> lastHost;
    bool echoDue = false;
    size_t at = 0;
    while (at < bytes.size()) {
        const size_t left = bytes.size() - at;
        const size_t whole = left >= 2 ? kCctFrameOverhead + bytes[at + kCctLength] : left;
        TraceLine line;
        line.time = platform::RawOffsetStamp(at);
        line.bytes.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                          bytes.begin() + static_cast<std::ptrdiff_t>(at + std::min(whole, left)));
        if (echoDue && line.bytes == lastHost) {
            line.direction = TraceDirection::Echo;
            echoDue = false;
        } else if (line.bytes[kCctDestination] == HOST_ADDRESS) {
            line.direction = TraceDirection::Device;
            echoDue = false;
        } else {
            line.direction = TraceDirection::Host;
            lastHost = line.bytes;
            echoDue = true;
        }
        line.meaning = decoder.Describe(line.direction, line.bytes);
        at += line.bytes.size();
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace

int DecodeCctCapture(const std::string& path, std::FILE* out, std::FILE* err) {
    CctFrameDecoder decoder;
    return platform::DecodeCapture(
        path, out, err,
        [&decoder](TraceDirection direction, const std::vector<uint8_t>& bytes) {
            return decoder.Describe(direction, bytes);
        },
        [&decoder](const std::vector<uint8_t>& bytes) { return CutRaw(bytes, decoder); });
}
