// The cipher against its definition, written out step by step here with
// the key values this build was configured with: a cipher that merely
// inverts itself (a wrong mixing function, step order, key word or
// counter) would pass the round-trip tests but not these.
#include "cipher/block_cipher.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

namespace {

uint32_t Mix(uint32_t x) { return ((x >> 8) ^ (x << 6)) + x; }

uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

void PutLe32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

std::vector<uint8_t> EncipherByDefinition(std::vector<uint8_t> buffer, uint32_t keyValue) {
    uint32_t k[4] = {CIPHER_KEY_WORD0, keyValue + CIPHER_KEY_ADDEND, CIPHER_KEY_WORD2, CIPHER_COUNTER_START};
    for (size_t p = 0; p + 8 <= buffer.size(); p += 8) {
        uint32_t y = Le32(&buffer[p]);
        uint32_t z = Le32(&buffer[p + 4]);
        for (uint32_t j = 0; j < 48; ++j) {
            if (j % 2 == 0) {
                y = y + Mix(z) + k[j % 4] + j;
            } else {
                z = z + Mix(y) + k[j % 4] + j;
            }
        }
        PutLe32(&buffer[p], y);
        PutLe32(&buffer[p + 4], z);
        k[3] = k[3] + 1;
    }
    return buffer;
}

std::vector<uint8_t> Sample(size_t n, uint8_t seed) {
    std::vector<uint8_t> b(n);
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(seed + i * 37 + (i >> 3));
    return b;
}

TEST(BlockCipherDefinition, EveryBlockMatchesTheFortyEightSteps) {
    for (uint32_t key : {0u, 1u, 0x80000000u, 0xFFFFFFFFu, 0x12345678u}) {
        for (size_t n : {8u, 16u, 264u, 4096u + 256u}) {
            std::vector<uint8_t> work = Sample(n, static_cast<uint8_t>(key));
            const std::vector<uint8_t> expected = EncipherByDefinition(work, key);
            EncipherBuffer(work.data(), static_cast<uint32_t>(work.size()), key);
            ASSERT_EQ(expected, work) << "key " << key << " length " << n;
            DecipherBuffer(work.data(), static_cast<uint32_t>(work.size()), key);
            ASSERT_EQ(Sample(n, static_cast<uint8_t>(key)), work);
        }
    }
}

TEST(BlockCipherDefinition, ABlockDependsOnlyOnItsPositionNotOnItsNeighbours) {
    std::vector<uint8_t> a = Sample(24, 1);
    std::vector<uint8_t> b = Sample(24, 99);
    std::memcpy(&b[8], &a[8], 8); // the same middle block, different neighbours
    EncipherBuffer(a.data(), 24, 5);
    EncipherBuffer(b.data(), 24, 5);
    EXPECT_EQ(0, std::memcmp(&a[8], &b[8], 8));
    EXPECT_NE(0, std::memcmp(&a[0], &b[0], 8));
}

} // namespace
