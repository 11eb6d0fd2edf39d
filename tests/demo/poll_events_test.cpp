// Reading the event buffer: baseline, wrap, the reset question, and the
// decoding of credits and errors.
#include "demo/driver/cct_driver.h"
#include "demo/driver/event_decoding.h"
#include "reply_frame.h"
#include "tests/support/fake_driver_port_opener.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// An 11-byte buffer reply: counter, then events newest first.
Bytes Buffer(uint8_t counter, const Bytes& events) {
    Bytes data(std::max<size_t>(11, 1 + events.size()), 0); // sized first: see ReplyFrame
    data[0] = counter;
    std::copy(events.begin(), events.end(), data.begin() + 1);
    data.resize(11);
    return ReplyFrame(2, data);
}

class PollEventsTest : public ::testing::Test {
protected:
    PollEventsTest() {
        script.echo = true; // a one-wire bus
        driver.openPort = testing_support::FakeDriverPortOpener(script, log);
        driver.portName = "ttyTEST";
        driver.askReinitialize = [this] {
            ++questions;
            return answer;
        };
        s_LastEventCounter = 0;
    }
    // Takes the counter as baseline with a first read.
    void Baseline(uint8_t counter) {
        script.replies.push_back(Buffer(counter, {}));
        ASSERT_EQ(driver.PollEvents(counts), 0);
    }
    int Poll(const Bytes& reply) {
        script.replies.push_back(reply);
        return driver.PollEvents(counts);
    }

    // The line outlives the driver, whose end closes the port.
    testing_support::FakePortScript script;
    testing_support::FakePortLog log;
    CCctDriver driver;
    PollCounts counts;
    int questions = 0;
    bool answer = false;
};

TEST_F(PollEventsTest, FirstPollAfterIdentificationOnlyTakesTheBaseline) {
    s_LastEventCounter = 3;
    EXPECT_EQ(Poll(Buffer(9, {3, 2, 3, 2})), 0);
    EXPECT_EQ(counts.coins[3], 0);
    EXPECT_EQ(s_LastEventCounter, 9);
    EXPECT_EQ(driver.m_bCounterSeen, 1);
    EXPECT_EQ(Poll(Buffer(9, {3, 2, 3, 2})), 0);
}

TEST_F(PollEventsTest, TwoCreditsOfPositionThreeOnPathTwo) {
    Baseline(4);
    EXPECT_EQ(Poll(Buffer(6, {3, 2, 3, 2, 5, 1})), 1);
    EXPECT_EQ(counts.coins[3], 2);
    EXPECT_EQ(counts.outlets[2], 2);
    EXPECT_EQ(counts.coins[5], 0); // the third event was counted before
    EXPECT_EQ(counts.errorCode, 0);
    EXPECT_EQ(s_LastEventCounter, 6);
}

TEST_F(PollEventsTest, CounterWrapsFrom255ToOneSkippingZero) {
    Baseline(255);
    EXPECT_EQ(Poll(Buffer(1, {4, 1, 9, 9})), 1);
    EXPECT_EQ(counts.coins[4], 1);
    EXPECT_EQ(counts.coins[9], 0);
}

TEST_F(PollEventsTest, MoreThanFiveNewEventsCountOnlyTheFiveHeld) {
    Baseline(10);
    EXPECT_EQ(Poll(Buffer(17, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1})), 1);
    EXPECT_EQ(counts.coins[1], 5);
    EXPECT_EQ(counts.outlets[1], 5);
}

TEST_F(PollEventsTest, ReplyOfAnotherLengthIsReadThreeTimesThenUnusable) {
    Baseline(1);
    const size_t before = log.writes.size();
    script.replies = {ReplyFrame(2, Bytes(10, 0)), ReplyFrame(2, {}), ReplyFrame(2, Bytes(12, 0))};
    EXPECT_EQ(driver.PollEvents(counts), -1);
    EXPECT_EQ(log.writes.size() - before, 3u);
    EXPECT_EQ(s_LastEventCounter, 1);
}

TEST_F(PollEventsTest, AFailedReadIsTriedAgainAndItsEventsAreCounted) {
    Baseline(10);
    Bytes damaged = Buffer(12, {3, 2, 3, 2});
    damaged.back() ^= 0x01; // a flipped bit in the checksum
    script.replies = {damaged, Buffer(12, {3, 2, 3, 2})};
    EXPECT_EQ(driver.PollEvents(counts), 1);
    EXPECT_EQ(counts.coins[3], 2);
    EXPECT_EQ(counts.outlets[2], 2);
    EXPECT_EQ(s_LastEventCounter, 12);
}

TEST_F(PollEventsTest, OnlyTheSameDeviceResumesItsCounter) {
    EXPECT_FALSE(driver.ResumesCounter()); // no counter seen yet
    driver.DeviceIdentified(123456);
    EXPECT_FALSE(driver.ResumesCounter());
    Baseline(10);
    driver.m_bCounterSeen = 0; // identified again
    EXPECT_TRUE(driver.ResumesCounter());
    driver.DeviceIdentified(654321);
    EXPECT_FALSE(driver.ResumesCounter());
}

// The events as the session report takes them: oldest first, each with the
// counter value it came with, and what the device held no longer.
std::vector<std::array<int, 3>> Events(const PollCounts& counts) {
    std::vector<std::array<int, 3>> events;
    for (const PollEvent& e : counts.events) events.push_back({e.counter, e.resultA, e.resultB});
    return events;
}

TEST_F(PollEventsTest, NewEventsAreListedOldestFirstWithTheirCounters) {
    Baseline(254);
    // Counter 2 after 254: events 255, 1 and 2 (newest first in the reply).
    EXPECT_EQ(Poll(Buffer(2, {6, 1, 0, 120, 4, 3, 9, 9})), 1);
    EXPECT_EQ(counts.counter, 2);
    EXPECT_EQ(Events(counts), (std::vector<std::array<int, 3>>{{255, 4, 3}, {1, 0, 120}, {2, 6, 1}}));
    EXPECT_EQ(counts.lost, 0);
}

TEST_F(PollEventsTest, EventsPastTheFiveHeldAreLost) {
    Baseline(10);
    EXPECT_EQ(Poll(Buffer(17, {1, 1, 2, 2, 3, 3, 4, 4, 5, 5})), 1);
    EXPECT_EQ(counts.lost, 2);
    EXPECT_EQ(Events(counts), (std::vector<std::array<int, 3>>{{13, 5, 5}, {14, 4, 4}, {15, 3, 3}, {16, 2, 2}, {17, 1, 1}}));
    EXPECT_EQ(Poll(Buffer(17, {1, 1})), 0); // nothing new: nothing listed, nothing lost
    EXPECT_TRUE(counts.events.empty());
    EXPECT_EQ(counts.lost, 0);
}

TEST_F(PollEventsTest, TheSameDeviceFoundAgainLosesWhatItsCounterWentPast) {
    driver.DeviceIdentified(123456);
    Baseline(10);
    EXPECT_EQ(counts.lost, 0); // a first baseline has nothing before it
    driver.m_bCounterSeen = 0; // identified again, the same device
    EXPECT_EQ(Poll(Buffer(13, {1, 1, 2, 2, 3, 3})), 0);
    EXPECT_EQ(counts.lost, 3);
    EXPECT_TRUE(counts.events.empty());
    EXPECT_EQ(s_LastEventCounter, 13);

    // Another device, or the same one after a power cycle (counter 0), loses nothing.
    driver.m_bCounterSeen = 0;
    driver.DeviceIdentified(654321);
    EXPECT_EQ(Poll(Buffer(20, {})), 0);
    EXPECT_EQ(counts.lost, 0);
    driver.m_bCounterSeen = 0;
    EXPECT_EQ(Poll(Buffer(0, {})), 0);
    EXPECT_EQ(counts.lost, 0);
}

TEST_F(PollEventsTest, DeviceResetAsksAndYesGivesUp) {
    Baseline(40);
    answer = true;
    EXPECT_EQ(Poll(Buffer(0, {})), -1);
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(s_LastEventCounter, 0);
}

TEST_F(PollEventsTest, DeviceResetAnsweredNoCountsFromZero) {
    Baseline(40);
    EXPECT_EQ(Poll(Buffer(0, {})), 1);
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(Poll(Buffer(2, {6, 3, 6, 3})), 1);
    EXPECT_EQ(counts.coins[6], 2);
    EXPECT_EQ(questions, 1);
}

TEST(EventDecoding, NewEventCount) {
    EXPECT_EQ(NewEventCount(1, 255), 1);
    EXPECT_EQ(NewEventCount(17, 10), 5);
    EXPECT_EQ(NewEventCount(12, 10), 2);
    EXPECT_EQ(NewEventCount(3, 0), 3);
    EXPECT_EQ(NewEventCount(2, 254), 3);
    EXPECT_EQ(NewEventCount(1, 2), 5); // counted backwards: a full wrap
}

TEST(EventDecoding, ErrorShownIsTheNewestThatIsNotACountedReject) {
    // Oldest first: error 120, then error 1.
    const uint8_t reply[11] = {7, 0, 1, 0, 120};
    PollCounts counts;
    DecodeEvents(reply, 2, counts);
    EXPECT_EQ(counts.errorCode, 120);
    EXPECT_EQ(counts.coins[0], 1);
    EXPECT_EQ(counts.outlets[0], 1);
}

TEST(EventDecoding, CountedRejectAloneIsShownAsTheNewestError) {
    const uint8_t reply[11] = {7, 0, 9};
    PollCounts counts;
    DecodeEvents(reply, 1, counts);
    EXPECT_EQ(counts.errorCode, 9);
    EXPECT_EQ(counts.coins[0], 1);
}

TEST(EventDecoding, CountedRejectsAreExactlyTheListedCodes) {
    for (int code = 0; code < 256; ++code) {
        const bool listed = code == 1 || code == 2 || code == 8 || code == 9 || code == 10 || code == 11;
        EXPECT_EQ(IsCountedReject(static_cast<uint8_t>(code)), listed) << code;
    }
}

TEST(EventDecoding, CreditsOutsideTheTablesCountNowhereThere) {
    // Position 17 on path 2, position 4 on path 9, position 5 on path 0.
    const uint8_t reply[11] = {3, 17, 2, 4, 9, 5, 0};
    PollCounts counts;
    DecodeEvents(reply, 3, counts);
    EXPECT_EQ(counts.outlets[2], 1);
    EXPECT_EQ(counts.coins[4], 1);
    EXPECT_EQ(counts.coins[5], 1);
    int outlets = 0;
    for (uint8_t c : counts.outlets) outlets += c;
    EXPECT_EQ(outlets, 1);
    EXPECT_EQ(counts.errorCode, 0);
}

} // namespace
