#include "ui/coin_list_rows.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

class CoinListRows : public ::testing::Test {
protected:
    // Local time is UTC here, so the expected dates are fixed.
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        if (tz != nullptr) oldTz_ = tz;
        hadTz_ = tz != nullptr;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    void TearDown() override {
        if (hadTz_) {
            setenv("TZ", oldTz_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::string oldTz_;
    bool hadTz_ = false;
};

TEST_F(CoinListRows, ShowTheRowAsTheListDoes) {
    DeviceCoinEntry e;
    std::strcpy(e.szCoinId, "RU1K0B");
    e.iErrorDivider = 17;
    e.bInherit = 1;
    e.tWritten = 1577836800 + 13 * 3600 + 5 * 60;
    e.iFirm = 3;
    e.iAcceptCount = 42;
    const CoinListRow row = FormatCoinListRow(4, e);
    EXPECT_TRUE(row.checked);
    const std::array<std::string, kCoinListColumns> expected = {"5", "RU1K0B", "17", "01-01-2020 13:05", "3", "42"};
    EXPECT_EQ(expected, row.cells);
}

TEST_F(CoinListRows, EmptyRowShowsOnlyItsNumber) {
    DeviceCoinEntry e;
    std::strcpy(e.szCoinId, "......");
    e.iErrorDivider = 9;
    e.bInherit = 0;
    const CoinListRow row = FormatCoinListRow(15, e);
    EXPECT_FALSE(row.checked);
    EXPECT_EQ("16", row.cells[0]);
    for (size_t c = 1; c < kCoinListColumns; ++c) EXPECT_EQ(" ", row.cells[c]) << c;
}

TEST_F(CoinListRows, DescriptionTimeHasTheSeconds) {
    EXPECT_EQ(FormatDescriptionTime(1577836800 + 13 * 3600 + 5 * 60 + 7), "01-01-2020 13:05:07");
    EXPECT_EQ(FormatDescriptionTime(0), "01-01-1970 00:00:00");
}

} // namespace
