#include "cipher/block_cipher.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <numeric>

namespace {

std::array<uint8_t, 64> Pattern() {
    std::array<uint8_t, 64> b{};
    std::iota(b.begin(), b.end(), static_cast<uint8_t>(3));
    return b;
}

TEST(BlockCipher, DecipherRestoresEveryByte) {
    for (uint32_t key : {0u, 1u, 123456789u, 0xFFFFFFFFu}) {
        auto plain = Pattern();
        auto work = plain;
        EncipherBuffer(work.data(), static_cast<uint32_t>(work.size()), key);
        EXPECT_NE(work, plain);
        DecipherBuffer(work.data(), static_cast<uint32_t>(work.size()), key);
        EXPECT_EQ(work, plain) << "key " << key;
    }
}

TEST(BlockCipher, OneBitOfTheKeyChangesTheResult) {
    auto a = Pattern();
    auto b = Pattern();
    EncipherBuffer(a.data(), 64, 0x1000);
    EncipherBuffer(b.data(), 64, 0x1001);
    for (size_t block = 0; block < 8; ++block) {
        EXPECT_NE(0, std::memcmp(a.data() + 8 * block, b.data() + 8 * block, 8)) << "block " << block;
    }
    DecipherBuffer(a.data(), 64, 0x1001);
    EXPECT_NE(a, Pattern());
}

TEST(BlockCipher, EqualBlocksAtDifferentPositionsDiffer) {
    std::array<uint8_t, 16> b{};
    b.fill(0x5A);
    EncipherBuffer(b.data(), 16, 7);
    EXPECT_NE(0, std::memcmp(b.data(), b.data() + 8, 8));
}

TEST(BlockCipher, CounterRestartsWithEveryCall) {
    auto whole = Pattern();
    auto split = Pattern();
    EncipherBuffer(whole.data(), 16, 42);
    EncipherBuffer(split.data(), 8, 42);
    EncipherBuffer(split.data() + 8, 8, 42);
    EXPECT_EQ(0, std::memcmp(whole.data(), split.data(), 8));
    EXPECT_NE(0, std::memcmp(whole.data() + 8, split.data() + 8, 8));
}

TEST(BlockCipher, ZeroLengthAndPartialBlocksTouchNothingBeyond) {
    auto b = Pattern();
    EncipherBuffer(b.data(), 0, 9);
    EXPECT_EQ(b, Pattern());
    // A length that is not a whole block stops at the last whole block.
    EncipherBuffer(b.data(), 13, 9);
    EXPECT_NE(0, std::memcmp(b.data(), Pattern().data(), 8));
    EXPECT_EQ(0, std::memcmp(b.data() + 8, Pattern().data() + 8, 56));
}

} // namespace
