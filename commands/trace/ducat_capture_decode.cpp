#include "commands/trace/ducat_capture_decode.h"

#include "link/acceptor_protocol.h"
#include "commands/trace/ducat_frame_decoder.h"
#include "commands/trace/ducat_wire_trace.h"
#include "platform/trace_file.h"

#include <algorithm>

namespace {

using platform::TraceDirection;
using platform::TraceLine;


// How long the frame at the start of `left` bytes is: a request by its
// length byte (a description fragment also by its high length byte), a
// reply as the decoder expects it after the last request.
size_t FrameLength(const uint8_t* b, size_t left, bool request, const DucatFrameDecoder& decoder) {
    namespace f = acceptor::write_fragment;
    if (left <= kLengthAt) return left;
    if (!request) {
        const std::vector<uint8_t> head(b, b + std::min(left, decoder.ReplyHeadBytes()));
        const size_t whole = decoder.ReplyFrameLength(head);
        return whole == 0 ? left : whole;
    }
    const bool fragment = left > kFunctionAt && b[kFunctionAt] == acceptor::kWriteFragment &&
                          b[kLengthAt] == f::kDataLengthLow;
    return fragment ? f::kFrameLength : kFrameOverhead + b[kLengthAt];
}

// A raw capture cut into frames: the host sends only header 255, so a
// frame of that header is a request and any other a reply; a reply the
// codec would refuse gets its mark.
std::vector<TraceLine> CutRaw(const std::vector<uint8_t>& bytes, DucatFrameDecoder& decoder) {
    std::vector<TraceLine> lines;
    size_t at = 0;
    while (at < bytes.size()) {
        const size_t left = bytes.size() - at;
        const uint8_t* b = bytes.data() + at;
        const bool request = left > kHeaderAt && b[kHeaderAt] == kExtensionHeader;
        TraceLine line;
        line.time = platform::RawOffsetStamp(at);
        line.direction = request ? TraceDirection::Host : TraceDirection::Device;
        line.bytes.assign(b, b + std::min(FrameLength(b, left, request, decoder), left));
        line.meaning = decoder.Describe(line.direction, line.bytes);
        at += line.bytes.size();
        const std::string failure = request ? std::string() : ReplyFailure(decoder, line.bytes);
        const std::string time = line.time;
        lines.push_back(std::move(line));
        if (!failure.empty()) lines.push_back(TraceLine{time, TraceDirection::Failed, {}, failure});
    }
    return lines;
}

} // namespace

int DecodeDucatCapture(const std::string& path, std::FILE* out, std::FILE* err) {
    DucatFrameDecoder decoder;
    return platform::DecodeCapture(
        path, out, err,
        [&decoder](TraceDirection direction, const std::vector<uint8_t>& bytes) {
            return decoder.Describe(direction, bytes);
        },
        [&decoder](const std::vector<uint8_t>& bytes) { return CutRaw(bytes, decoder); });
}
