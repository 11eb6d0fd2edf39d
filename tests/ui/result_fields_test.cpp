#include "ui/result_fields.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(ResultFields, ShowTheWindowsTexts) {
    CoinResultRecord r;
    r.aiStatErrors[0] = 3;
    r.aiStatErrors[1] = 12;
    r.aiNeuralErrors[0] = 1;
    r.aiNeuralErrors[1] = 30;
    std::strcpy(r.szBestCoin, "RU1K0B");
    std::strcpy(r.szNextCoin, "RU010B");
    const uint8_t a[5] = {5, 0, 2, 0, 0};
    const uint8_t b[5] = {1, 20, 1, 0, 0};
    std::memcpy(r.abResultA, a, 5);
    std::memcpy(r.abResultB, b, 5);
    r.bAccepted = 1;
    const ResultFields f = FormatResultFields(r, 77);
    EXPECT_TRUE(f.largeBestCoin);
    EXPECT_EQ(" RU1K0B", f.bestCoin);
    EXPECT_EQ(" RU010B", f.nextCoin);
    EXPECT_EQ("Stat (3) + Neural (1) = 4", f.bestErrors);
    EXPECT_EQ("Stat (12) + Neural (30) = 42", f.nextErrors);
    EXPECT_EQ("Buffer (A.B): 5.1    0.20    2.1    0.0    0.0    Cnt = 77", f.buffer);
    r.bAccepted = 0;
    EXPECT_FALSE(FormatResultFields(r, 77).largeBestCoin);
}

} // namespace
