#include "demo/trace/cct_capture_decode.h"

#include "demo/cct_protocol.h"
#include "demo/trace/cct_frame_decoder.h"
#include "platform/trace_file.h"

#include <algorithm>

namespace {

using platform::TraceDirection;
using platform::TraceLine;

void Print(std::FILE* out, const TraceLine& line) { std::fprintf(out, "%s\n", FormatTraceLine(line).c_str()); }

int DecodeText(const std::vector<std::string>& lines, std::FILE* out, std::FILE* err) {
    CctFrameDecoder decoder;
    int bad = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty() || lines[i][0] == '#') continue;
        TraceLine line;
        std::string error;
        if (!ParseTraceLine(lines[i], line, error)) {
            std::fprintf(err, "line %zu: %s\n", i + 1, error.c_str());
            ++bad;
            continue;
        }
        if (CarriesFrame(line.direction)) line.meaning = decoder.describe(line.direction, line.bytes);
        Print(out, line);
    }
    return bad;
}

// A raw capture cut into frames by their length bytes. A frame addressed to
// the host is the device's; one that repeats the host's frame just before
// it is its echo; any other is the host's.
void DecodeRaw(const std::vector<uint8_t>& bytes, std::FILE* out) {
    CctFrameDecoder decoder;
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
        line.meaning = decoder.describe(line.direction, line.bytes);
        Print(out, line);
        at += line.bytes.size();
    }
}

} // namespace

int DecodeCctCapture(const std::string& path, std::FILE* out, std::FILE* err) {
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
