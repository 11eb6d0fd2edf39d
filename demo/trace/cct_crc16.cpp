#include "demo/trace/cct_crc16.h"

#include "demo/driver/cct_protocol.h"

#include <algorithm>

namespace {

constexpr uint16_t kPolynomial = 0x1021;

// The CRC of a frame: every byte but byte 2 and the last.
uint16_t FrameCrc(const uint8_t* frame, size_t n) {
    uint16_t crc = CctCrc16(frame, kCctSource);
    return CctCrc16(frame + kCctHeader, n - kCctHeader - 1, crc);
}

} // namespace

uint16_t CctCrc16(const uint8_t* bytes, size_t n, uint16_t crc) {
    for (size_t i = 0; i < n; ++i) {
        crc = static_cast<uint16_t>(crc ^ (bytes[i] << 8));
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x8000) != 0 ? static_cast<uint16_t>((crc << 1) ^ kPolynomial) : static_cast<uint16_t>(crc << 1);
        }
    }
    return crc;
}

bool CctCrc16Holds(const uint8_t* frame, size_t n) {
    if (n < kCctFrameOverhead || n != kCctFrameOverhead + frame[kCctLength]) return false;
    const uint16_t crc = FrameCrc(frame, n);
    return frame[kCctSource] == (crc & 0xFF) && frame[n - 1] == crc >> 8;
}

std::vector<uint8_t> CctCrc16Frame(uint8_t destination, uint8_t header, const std::vector<uint8_t>& data) {
    // Sized once and filled in place (inserting behind a four-byte list trips
    // the cross compiler's bounds warning).
    std::vector<uint8_t> frame(kCctFrameOverhead + data.size(), 0);
    frame[0] = destination;
    frame[kCctLength] = static_cast<uint8_t>(data.size());
    frame[kCctHeader] = header;
    std::copy(data.begin(), data.end(), frame.begin() + kCctData);
    const uint16_t crc = FrameCrc(frame.data(), frame.size());
    frame[kCctSource] = static_cast<uint8_t>(crc & 0xFF);
    frame.back() = static_cast<uint8_t>(crc >> 8);
    return frame;
}

std::vector<uint8_t> CctSimpleFormOf(const std::vector<uint8_t>& crcFrame, uint8_t source) {
    std::vector<uint8_t> frame = crcFrame;
    frame[kCctSource] = source;
    frame.back() = CctChecksum(frame.data(), frame.size() - 1);
    return frame;
}
