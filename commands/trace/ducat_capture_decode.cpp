#include "commands/trace/ducat_capture_decode.h"

#include "commands/trace/ducat_frame_cutter.h"
#include "commands/trace/ducat_frame_decoder.h"
#include "platform/frame_finder.h"
#include "platform/trace_file.h"

namespace {

using platform::TraceDirection;
using platform::TraceLine;

std::vector<TraceLine> CutRaw(const std::vector<uint8_t>& bytes) {
    DucatFrameCutter cutter;
    return platform::CutWhole(cutter, bytes);
}

} // namespace

int DecodeDucatCapture(const std::string& path, std::FILE* out, std::FILE* err) {
    DucatFrameDecoder decoder;
    return platform::DecodeCapture(
        path, out, err,
        [&decoder](TraceDirection direction, const std::vector<uint8_t>& bytes) {
            return decoder.Describe(direction, bytes);
        },
        CutRaw);
}
