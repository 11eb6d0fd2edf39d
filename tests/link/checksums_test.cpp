#include "link/checksums.h"

#include <gtest/gtest.h>

namespace {

TEST(SimpleChecksum, KnownFrames) {
    const uint8_t poll[] = {0x02, 0x00, 0x01, 0xFE};
    EXPECT_EQ(0xFF, SimpleChecksum(poll, 4));
    const uint8_t other[] = {0x02, 0x00, 0x01, 0x01};
    EXPECT_EQ(0xFC, SimpleChecksum(other, 4));
    EXPECT_EQ(0, SimpleChecksum(nullptr, 0));
}

TEST(Crc16, XmodemVectors) {
    const uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(0x31C3, Crc16(digits, 9));
    EXPECT_EQ(0, Crc16(nullptr, 0));
    uint8_t stored[2];
    StoreLe16(stored, Crc16(digits, 9));
    EXPECT_EQ(0xC3, stored[0]);
    EXPECT_EQ(0x31, stored[1]);
}

} // namespace
