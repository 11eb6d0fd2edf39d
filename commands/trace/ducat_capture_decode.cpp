#include "commands/trace/ducat_capture_decode.h"

#include "commands/acceptor_protocol.h"
#include "commands/trace/ducat_frame_decoder.h"
#include "commands/trace/ducat_wire_trace.h"
#include "platform/trace_file.h"

#include <algorithm>

namespace {

using platform::TraceDirection;
using platform::TraceLine;

constexpr size_t kHeaderAt = 3;
constexpr size_t kLengthAt = 1;

void Print(std::FILE* out, const TraceLine& line) { std::fprintf(out, "%s\n", FormatTraceLine(line).c_str()); }

int DecodeText(const std::vector<std::string>& lines, std::FILE* out, std::FILE* err) {
    DucatFrameDecoder decoder;
    int bad = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty() || lines[i][0] == '#') continue;
        TraceLine line;
        std::string error;
        if (!ParseTraceLine(lines[i], line, error) || line.direction == TraceDirection::Echo) {
            std::fprintf(err, "line %zu: %s\n", i + 1, error.empty() ? "the link has no echo" : error.c_str());
            ++bad;
            continue;
        }
        if (CarriesFrame(line.direction)) line.meaning = decoder.describe(line.direction, line.bytes);
        Print(out, line);
    }
    return bad;
}

// How long the frame at the start of `left` bytes is: a request by its
// length byte (a description fragment also by its high length byte), a
// reply as the decoder expects it after the last request.
size_t FrameLength(const uint8_t* b, size_t left, bool request, const DucatFrameDecoder& decoder) {
    namespace f = acceptor::write_fragment;
    if (left <= kLengthAt) return left;
    if (!request) {
        const std::vector<uint8_t> head(b, b + std::min(left, decoder.replyHeadBytes()));
        const size_t whole = decoder.replyFrameLength(head);
        return whole == 0 ? left : whole;
    }
    const bool fragment = left > acceptor::kFunctionAt && b[acceptor::kFunctionAt] == acceptor::kWriteFragment &&
                          b[kLengthAt] == f::kDataLengthLow;
    return fragment ? f::kFrameLength : acceptor::kFrameOverhead + b[kLengthAt];
}

// A raw capture cut into frames: the host sends only header 255, so a
// frame of that header is a request and any other a reply.
void DecodeRaw(const std::vector<uint8_t>& bytes, std::FILE* out) {
    DucatFrameDecoder decoder;
    size_t at = 0;
    while (at < bytes.size()) {
        const size_t left = bytes.size() - at;
        const uint8_t* b = bytes.data() + at;
        const bool request = left > kHeaderAt && b[kHeaderAt] == acceptor::kExtensionHeader;
        TraceLine line;
        line.time = platform::RawOffsetStamp(at);
        line.direction = request ? TraceDirection::Host : TraceDirection::Device;
        line.bytes.assign(b, b + std::min(FrameLength(b, left, request, decoder), left));
        line.meaning = decoder.describe(line.direction, line.bytes);
        Print(out, line);
        if (!request) {
            const std::string failure = ReplyFailure(decoder, line.bytes);
            if (!failure.empty()) Print(out, TraceLine{line.time, TraceDirection::Failed, {}, failure});
        }
        at += line.bytes.size();
    }
}

} // namespace

int DecodeDucatCapture(const std::string& path, std::FILE* out, std::FILE* err) {
    platform::Capture capture;
    std::string error;
    if (!platform::ReadCapture(path, capture, error)) {
        std::fprintf(err, "%s\n", error.c_str());
        return -1;
    }
    if (capture.text) return DecodeText(capture.lines, out, err);
    DecodeRaw(capture.bytes, out);
    return 0;
}
