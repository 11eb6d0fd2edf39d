#include "demo/trace/cct_capture_decode.h"

#include "demo/trace/cct_frame_cutter.h"
#include "demo/trace/cct_frame_describer.h"
#include "platform/frame_finder.h"
#include "platform/trace_file.h"

namespace {

using platform::TraceDirection;
using platform::TraceLine;

std::vector<TraceLine> CutRaw(const std::vector<uint8_t>& bytes) {
    CctFrameCutter cutter;
    return platform::CutWhole(cutter, bytes);
}

} // namespace

int DecodeCctCapture(const std::string& path, std::FILE* out, std::FILE* err) {
    CctFrameDescriber describer;
    return platform::DecodeCapture(
        path, out, err,
        [&describer](TraceDirection direction, const std::vector<uint8_t>& bytes) {
            return describer.Describe(direction, bytes);
        },
        CutRaw);
}
