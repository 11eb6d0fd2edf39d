#include "platform/local_time.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <thread>
#include <vector>

namespace {

// Every conversion in a fixed zone, so the expected fields are known.
class LocalCalendar : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
    void TearDown() override {
        ::unsetenv("TZ");
        ::tzset();
    }
};

TEST_F(LocalCalendar, ConvertsSecondsToTheFields) {
    std::tm t{};
    ASSERT_TRUE(platform::LocalCalendarTime(1700000000, t)); // 2023-11-14 22:13:20 UTC
    EXPECT_EQ(2023, t.tm_year + 1900);
    EXPECT_EQ(11, t.tm_mon + 1);
    EXPECT_EQ(14, t.tm_mday);
    EXPECT_EQ(22, t.tm_hour);
    EXPECT_EQ(13, t.tm_min);
    EXPECT_EQ(20, t.tm_sec);
}

// Two threads converting different times at once each get their own: the
// conversion shares no buffer (ThreadSanitizer sees any that is shared).
TEST_F(LocalCalendar, ThreadsConvertingAtOnceGetTheirOwnTimes) {
    const int64_t times[2] = {0, 86400 * 365};
    std::vector<int> wrong(2, 0);
    std::vector<std::thread> threads;
    for (int i = 0; i < 2; ++i) {
        threads.emplace_back([&, i] {
            for (int n = 0; n < 2000; ++n) {
                std::tm t{};
                if (!platform::LocalCalendarTime(times[i], t) || t.tm_year != 70 + i) ++wrong[static_cast<size_t>(i)];
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(0, wrong[0]);
    EXPECT_EQ(0, wrong[1]);
}

} // namespace
