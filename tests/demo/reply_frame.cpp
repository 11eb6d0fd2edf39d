#include "reply_frame.h"

#include "demo/driver/cct_protocol.h"

#include <algorithm>

// Sized once and filled in place: growing a four-byte vector by insert
// makes g++ -O3 see a copy past its end (a false array-bounds warning).
std::vector<uint8_t> ReplyFrame(uint8_t source, const std::vector<uint8_t>& data, uint8_t header) {
    std::vector<uint8_t> frame(kCctFrameOverhead + data.size());
    frame[0] = HOST_ADDRESS;
    frame[1] = static_cast<uint8_t>(data.size());
    frame[2] = source;
    frame[3] = header;
    std::copy(data.begin(), data.end(), frame.begin() + kCctData);
    frame.back() = CctChecksum(frame.data(), frame.size() - 1);
    return frame;
}
