#include "link/checksums.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(SimpleChecksum, KnownFrames) {
    const uint8_t poll[] = {0x02, 0x00, 0x01, 0xFE};
    EXPECT_EQ(0xFF, SimpleChecksum(poll, 4));
    const uint8_t other[] = {0x02, 0x00, 0x01, 0x01};
    EXPECT_EQ(0xFC, SimpleChecksum(other, 4));
    EXPECT_EQ(0, SimpleChecksum(nullptr, 0));
}

TEST(SimpleChecksum, FrameWithItsChecksumSumsToZero) {
    std::vector<uint8_t> frame;
    for (int i = 0; i < 270; ++i) frame.push_back(static_cast<uint8_t>(i * 37 + 11));
    frame.push_back(SimpleChecksum(frame.data(), frame.size()));
    unsigned sum = 0;
    for (uint8_t b : frame) sum += b;
    EXPECT_EQ(0u, sum % 256);
    // Sums that are already 0 need a checksum of 0, not 256.
    const uint8_t zero[] = {0x80, 0x80};
    EXPECT_EQ(0, SimpleChecksum(zero, 2));
}

TEST(Crc16, XmodemVectors) {
    const uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(0x31C3, Crc16(digits, 9));
    EXPECT_EQ(0, Crc16(nullptr, 0));
    const uint8_t letter[] = {'A'};
    EXPECT_EQ(0x58E5, Crc16(letter, 1));
    std::vector<uint8_t> all(256);
    for (int i = 0; i < 256; ++i) all[i] = static_cast<uint8_t>(i);
    EXPECT_EQ(0x7E55, Crc16(all.data(), all.size()));
}

TEST(Crc16, StoredLowByteFirst) {
    const uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    uint8_t stored[2];
    StoreLe16(stored, Crc16(digits, 9));
    EXPECT_EQ(0xC3, stored[0]);
    EXPECT_EQ(0x31, stored[1]);
    EXPECT_EQ(0x31C3, LoadLe16(stored));
}

TEST(Crc16, MessageFollowedByItsCrcHighByteFirstLeavesZero) {
    // The residue property of an unreflected CRC without final XOR.
    std::vector<uint8_t> message = {0x10, 0x20, 0xFE, 0x00, 0x7F};
    const uint16_t crc = Crc16(message.data(), message.size());
    message.push_back(static_cast<uint8_t>(crc >> 8));
    message.push_back(static_cast<uint8_t>(crc & 0xFF));
    EXPECT_EQ(0, Crc16(message.data(), message.size()));
}

TEST(LittleEndian, ThirtyTwoBitRoundTrip) {
    uint8_t bytes[4];
    StoreLe32(bytes, 1577836800u); // 2020-01-01 00:00:00 UTC
    EXPECT_EQ(0x00, bytes[0]);
    EXPECT_EQ(0xE1, bytes[1]);
    EXPECT_EQ(0x0B, bytes[2]);
    EXPECT_EQ(0x5E, bytes[3]);
    EXPECT_EQ(1577836800u, LoadLe32(bytes));
}

} // namespace
