#include "demo/trace/cct_frame_describer.h"

#include "demo/driver/cct_protocol.h"
#include "demo/trace/cct_crc16.h"

using platform::TraceDirection;

std::string CctFrameDescriber::Describe(TraceDirection direction, const std::vector<uint8_t>& frame) {
    const bool fromHost = direction != TraceDirection::Device;
    if (direction == TraceDirection::Host && !frame.empty()) asked_ = frame[kCctDestination];
    // The simple checksum first: a frame that holds by it is read as it is.
    if (!CarriesFrame(direction) || CctSumIsZero(frame.data(), frame.size()) ||
        !CctCrc16Holds(frame.data(), frame.size())) {
        return decoder_.Describe(direction, frame);
    }
    const uint8_t source = fromHost ? HOST_ADDRESS : asked_;
    return decoder_.Describe(direction, CctSimpleFormOf(frame, source)) + kCrc16Mark;
}
