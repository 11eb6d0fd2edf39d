// What the run watch tells both front ends: each coin result once, every
// result of a burst between two looks, the count of those it fell too far
// behind to see, and how a run ends. The test plays the service thread's
// part itself (the starter's thread is never started), so each step comes
// exactly between two looks.
#include "ui/run_watch.h"

#include "commands/coin_result.h"
#include "link/com_thread.h"
#include "link/command_mailbox.h"
#include "link/log_queue.h"
#include "tests/support/mailbox_reset.h"
#include "tests/support/run_environment_parts.h"
#include "ui/starters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool NoThread(platform::ThreadProc, void*) { return true; }

CoinResultRecord Coin(const char* id, int32_t row) {
    CoinResultRecord record;
    std::snprintf(record.szBestCoin, sizeof record.szBestCoin, "%s", id);
    record.iResultCoinIndex = row;
    return record;
}

class RunWatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::ResetMailbox();
        Mailbox.hComThread = 0;
        LogQueueInit();
        LogQueueDrain(nullptr);
        testing_support::UseThreadStarter(&NoThread);
    }
    void TearDown() override {
        Mailbox.hComThread = 0;
        testing_support::RestoreRunEnvironment();
        LogQueueDrain(nullptr);
    }

    RunLook Look() {
        return watch.Look([this](const char* line) { lines.emplace_back(line); });
    }
    // The end of the service thread's run, as COM_Thread ends it.
    static void ThreadEnds() {
        LogQueuePush("COM_Thread: Thread Stopped");
        Mailbox.hComThread.store(0);
    }
    // The service thread publishes a result as the monitoring handler does.
    static void Publish(const CoinResultRecord& result, int32_t stamp, uint32_t counter, bool firstOfRun = false) {
        PublishCoinResult(result, stamp, counter, firstOfRun);
        Mailbox.dwLastRecordNumber = stamp;
        Mailbox.bLastEventCounter = counter;
        Mailbox.bNewData = 1;
    }

    RunWatch watch;
    std::vector<std::string> lines;
};

TEST_F(RunWatchTest, EachResultIsHandedOnceWithItsStampAndCounter) {
    Publish(Coin("OLD", 1), 7, 1, true);
    RunWatch fresh; // made after it: not new to this one
    EXPECT_TRUE(fresh.Look([](const char*) {}).results.empty());
    RunLook look = Look();
    ASSERT_EQ(1u, look.results.size());
    EXPECT_TRUE(look.results[0].firstOfRun);

    Publish(Coin("RU005B", 2), 8, 2);
    look = Look();
    ASSERT_EQ(1u, look.results.size());
    EXPECT_STREQ("RU005B", look.results[0].result.szBestCoin);
    EXPECT_EQ(8, look.results[0].stamp);
    EXPECT_EQ(2u, look.results[0].counter);
    EXPECT_FALSE(look.results[0].firstOfRun);
    EXPECT_EQ(0, Mailbox.bNewData.load()); // read
    EXPECT_TRUE(Look().results.empty());   // not handed again

    // Two between two looks: both, oldest first; the last is the one shown.
    Publish(Coin("RU010B", 3), 9, 3);
    Publish(Coin("RU050B", 4), 9, 4); // the same stamp, a new counter: new
    look = Look();
    ASSERT_EQ(2u, look.results.size());
    EXPECT_STREQ("RU010B", look.results[0].result.szBestCoin);
    EXPECT_STREQ("RU050B", look.results[1].result.szBestCoin);
    EXPECT_EQ(look.results[0].sequence + 1, look.results[1].sequence);
    EXPECT_EQ(4u, look.results[1].counter);
    EXPECT_EQ(0u, look.missedResults);
    EXPECT_STREQ("RU050B", GetCoinResult().szBestCoin);
}

TEST_F(RunWatchTest, ResultsPastTheHistoryAreCountedAsMissed) {
    const int published = static_cast<int>(kCoinResultHistory) + 9;
    for (int i = 0; i < published; ++i) Publish(Coin("RU005B", i % 16), 100 + i, static_cast<uint32_t>(i));
    const RunLook look = Look();
    EXPECT_EQ(9u, look.missedResults);
    ASSERT_EQ(kCoinResultHistory, look.results.size());
    EXPECT_EQ(109, look.results.front().stamp); // the oldest the history still held
    EXPECT_EQ(100 + published - 1, look.results.back().stamp);
    const RunLook next = Look();
    EXPECT_EQ(0u, next.missedResults);
    EXPECT_TRUE(next.results.empty());
}

TEST_F(RunWatchTest, ARunThatEndsByItselfIsToldSoAndGivesTheControlsBack) {
    ASSERT_TRUE(StartLogExport());
    Mailbox.bDeviceIdentified = 1;
    LogQueuePush("working");
    RunLook look = Look();
    EXPECT_TRUE(look.runExists);
    EXPECT_EQ(RunEnd::None, look.end);
    EXPECT_FALSE(look.runOver);
    EXPECT_EQ(1u, look.lines);
    EXPECT_EQ(0, Mailbox.bDeviceIdentified.load());

    StopRun(); // the handler's own: its work is done
    look = Look();
    EXPECT_TRUE(look.runExists);
    EXPECT_EQ(RunEnd::ByItself, look.end);
    watch.Stop(); // STOP while it ends does not make it stopped
    EXPECT_EQ(RunEnd::ByItself, Look().end);

    ThreadEnds();
    look = Look();
    EXPECT_FALSE(look.runExists);
    EXPECT_EQ(RunEnd::ByItself, look.end);
    EXPECT_TRUE(look.runOver);
    EXPECT_EQ(kIdleCommand, Mailbox.iCommand.load());
    EXPECT_EQ("COM_Thread: Thread Stopped", lines.back());
    // Told once.
    look = Look();
    EXPECT_FALSE(look.runOver);
    EXPECT_EQ(RunEnd::None, look.end);
}

// The console's goals read how far a run's chain has come from the look,
// and the look that finds the run gone still has where it ended.
TEST_F(RunWatchTest, ALookTellsHowFarTheChainHasCome) {
    ASSERT_TRUE(StartIdentification());
    EXPECT_EQ(0, Look().subCommand);
    Mailbox.bSubCommand = 3; // identified: the table read comes next
    EXPECT_EQ(3, Look().subCommand);
    Mailbox.bSubCommand = 5; // the table came back: monitoring
    StopRun();
    ThreadEnds();
    const RunLook last = Look();
    EXPECT_FALSE(last.runExists);
    EXPECT_EQ(5, last.subCommand);
}

TEST_F(RunWatchTest, ARunTheFrontEndStopsIsToldStopped) {
    ASSERT_TRUE(StartIdentification());
    EXPECT_EQ(RunEnd::None, Look().end);
    watch.Stop();
    EXPECT_EQ(1, Mailbox.bStopThread.load());
    RunLook look = Look();
    EXPECT_EQ(RunEnd::Stopped, look.end);
    EXPECT_FALSE(look.runOver); // its thread still ends it
    ThreadEnds();
    look = Look();
    EXPECT_EQ(RunEnd::Stopped, look.end);
    EXPECT_TRUE(look.runOver);

    // The next run starts afresh, and one that ends between two looks
    // ended by itself.
    ASSERT_TRUE(StartIdentification());
    StopRun();
    ThreadEnds();
    look = Look();
    EXPECT_FALSE(look.runExists);
    EXPECT_EQ(RunEnd::ByItself, look.end);
    EXPECT_TRUE(look.runOver);
}

// A run whose port did not open ends without the stop flag: as in the
// window, its controls come back only with STOP.
TEST_F(RunWatchTest, ARunEndedWithoutTheStopFlagIsOverOnlyAfterStop) {
    ASSERT_TRUE(StartIdentification());
    ThreadEnds();
    RunLook look = Look();
    EXPECT_FALSE(look.runExists);
    EXPECT_FALSE(look.runOver);
    EXPECT_EQ(RunEnd::None, look.end);
    EXPECT_FALSE(Look().runOver);
    watch.Stop();
    look = Look();
    EXPECT_TRUE(look.runOver);
    EXPECT_EQ(kIdleCommand, Mailbox.iCommand.load());
}

} // namespace
