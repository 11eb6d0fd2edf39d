// The page total of the acceptor's log, as page 0 announces it.
#include "commands/log_read.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

int TotalFor(uint8_t low, uint8_t high) {
    std::vector<uint8_t> page(256, 0xEE);
    page[226] = low;
    page[227] = high;
    return PageTotalFromPageZero(page.data());
}

TEST(LogPageTotal, IsTheCountPlusTwoLowByteFirst) {
    EXPECT_EQ(2, TotalFor(0, 0));
    EXPECT_EQ(64, TotalFor(62, 0));
    EXPECT_EQ(0x0102 + 2, TotalFor(0x02, 0x01));
}

TEST(LogPageTotal, StopsAtThePagesARequestCanName) {
    // Page numbers in the request are 16-bit: pages 0-65535 at most.
    EXPECT_EQ(0x10000, TotalFor(0xFE, 0xFF));
    EXPECT_EQ(0x10000, TotalFor(0xFF, 0xFF));
}

} // namespace
