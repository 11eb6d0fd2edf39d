// The deadline that times every serial read and write.
#include "platform/deadline.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

namespace {

using platform::Deadline;
using std::chrono::microseconds;
using std::chrono::milliseconds;

const Deadline::Clock::time_point kStart = Deadline::Clock::now();

TEST(Deadline, WindowsTotalIsConstantPlusMultiplierTimesBytes) {
    const Deadline d = Deadline::ForTotal(20, 20, 10, kStart); // a 10-byte write of Pollbench
    EXPECT_TRUE(d.Limited());
    EXPECT_EQ(220, d.PollMilliseconds(kStart));
    EXPECT_FALSE(d.Passed(kStart + milliseconds(219)));
    EXPECT_TRUE(d.Passed(kStart + milliseconds(220)));
    EXPECT_EQ(0, d.PollMilliseconds(kStart + milliseconds(500)));
    EXPECT_EQ(50 + 3 * 5, Deadline::ForTotal(50, 3, 5, kStart).PollMilliseconds(kStart));
    EXPECT_EQ(7, Deadline::ForTotal(0, 1, 7, kStart).PollMilliseconds(kStart));
    EXPECT_EQ(9, Deadline::ForTotal(9, 0, 1000, kStart).PollMilliseconds(kStart));
}

TEST(Deadline, BothZeroMeansNoLimit) {
    const Deadline d = Deadline::ForTotal(0, 0, 100, kStart);
    EXPECT_FALSE(d.Limited());
    EXPECT_EQ(-1, d.PollMilliseconds(kStart));
    EXPECT_FALSE(d.Passed(kStart + std::chrono::hours(24 * 365)));
    EXPECT_FALSE(Deadline::Never().Limited());
}

TEST(Deadline, WaitsRoundUpSoTheyNeverEndEarly) {
    const Deadline d = Deadline::After(10, kStart);
    EXPECT_EQ(1, d.PollMilliseconds(kStart + microseconds(9001)));
    EXPECT_EQ(1, d.PollMilliseconds(kStart + microseconds(9999)));
    EXPECT_EQ(2, d.PollMilliseconds(kStart + microseconds(8500)));
    EXPECT_EQ(0, d.PollMilliseconds(kStart + milliseconds(10)));
}

TEST(Deadline, EarlierTakesTheFirstLimitAndAnyLimitBeatsNone) {
    const Deadline soon = Deadline::After(100, kStart);
    const Deadline late = Deadline::After(300, kStart);
    EXPECT_EQ(100, Deadline::Earlier(soon, late).PollMilliseconds(kStart));
    EXPECT_EQ(100, Deadline::Earlier(late, soon).PollMilliseconds(kStart));
    EXPECT_EQ(300, Deadline::Earlier(Deadline::Never(), late).PollMilliseconds(kStart));
    EXPECT_EQ(300, Deadline::Earlier(late, Deadline::Never()).PollMilliseconds(kStart));
    EXPECT_FALSE(Deadline::Earlier(Deadline::Never(), Deadline::Never()).Limited());
}

TEST(Deadline, HugeLimitsAreClippedWithoutOverflow) {
    const Deadline d = Deadline::ForTotal(UINT32_MAX, UINT32_MAX, SIZE_MAX, kStart);
    EXPECT_TRUE(d.Limited());
    EXPECT_EQ(INT_MAX, d.PollMilliseconds(kStart));
    EXPECT_FALSE(d.Passed(kStart + std::chrono::hours(24)));
    EXPECT_EQ(INT_MAX, Deadline::After(UINT64_MAX, kStart).PollMilliseconds(kStart));
}

} // namespace
