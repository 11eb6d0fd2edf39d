// The run watch over real runs of the virtual acceptor: each result the
// monitoring run published is handed once, with the stamp and counter it
// came with, a repeat of the same stamp and counter is not new, and a run
// is told as stopped or as ended by itself, with its last line handed.
#include "acceptor_fixture.h"

#include "commands/protocol/acceptor_layouts.h"
#include "link/command_mailbox.h"
#include "platform/clock.h"
#include "ui/run_watch.h"

#include <string>
#include <vector>

namespace integration {
namespace {

using sim::DucatAcceptor;
using sim::DucatCoin;
using sim::DucatResult;

constexpr int kMostLooks = 1000; // 20 s at 20 ms

class RunWatchRun : public AcceptorTest {
protected:
    RunLook Look() {
        return watch.Look([this](const char* line) { lines.emplace_back(line); });
    }
    // Looks until a look finds the run gone.
    RunLook LookUntilGone() {
        RunLook look = Look();
        for (int i = 0; look.runExists && i < kMostLooks; ++i) {
            platform::SleepMilliseconds(20);
            look = Look();
        }
        return look;
    }

    RunWatch watch;
    std::vector<std::string> lines; // every line the looks handed over
};

TEST_F(RunWatchRun, AMonitoringRunHandsEachResultOnceAndEndsStopped) {
    DucatResult repeated;
    OnDevice([&](DucatAcceptor& d) {
        d.QueueCoin(DucatCoin{0, true, {9, 9}, {9, 9}}); // the acceptor's latest before the start
        d.QueueCoin(DucatCoin{2, true, {1, 8}, {0, 5}});
        repeated = d.MakeResult(DucatCoin{4, false, {2, 20}, {1, 20}});
        d.QueueResult(repeated);
        d.QueueResult(repeated); // the same stamp and counter again
    });
    const int polls = DeviceRequests(acceptor::kReadResult);
    ASSERT_TRUE(Start(acceptor::kSubIdentify, acceptor::kSubReadTable));
    ASSERT_TRUE(WaitForRequests(acceptor::kReadResult, polls, 6));
    RunLook look = Look();
    EXPECT_TRUE(look.runExists);
    EXPECT_EQ(RunEnd::None, look.end);
    EXPECT_EQ(0u, look.missedResults);
    ASSERT_EQ(3u, look.results.size());
    EXPECT_TRUE(look.results[0].firstOfRun);
    EXPECT_FALSE(look.results[1].firstOfRun);
    EXPECT_EQ(2, look.results[1].result.iResultCoinIndex);
    EXPECT_EQ(1, look.results[1].result.aiStatErrors[0]);
    EXPECT_EQ(5, look.results[1].result.aiNeuralErrors[1]);
    EXPECT_EQ(4, look.results[2].result.iResultCoinIndex);
    EXPECT_EQ(0, look.results[2].result.bAccepted);
    EXPECT_EQ(static_cast<int32_t>(repeated.stamp), look.results[2].stamp);
    EXPECT_EQ(repeated.counter, look.results[2].counter);
    EXPECT_EQ(Mailbox.dwLastRecordNumber.load(), look.results[2].stamp);
    EXPECT_EQ(Mailbox.bLastEventCounter.load(), look.results[2].counter);

    // The acceptor goes on answering its last result: nothing new.
    ASSERT_TRUE(WaitForRequests(acceptor::kReadResult, DeviceRequests(acceptor::kReadResult), 2));
    EXPECT_TRUE(Look().results.empty());

    watch.Stop();
    look = LookUntilGone();
    EXPECT_FALSE(look.runExists);
    EXPECT_EQ(RunEnd::Stopped, look.end);
    EXPECT_TRUE(look.runOver);
    EXPECT_EQ(kIdleCommand, Mailbox.iCommand.load());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ("COM_Thread: Thread Stopped", lines.back());
}

TEST_F(RunWatchRun, AnIdentificationWithNothingToFollowEndsByItself) {
    ASSERT_TRUE(Start(acceptor::kSubIdentify, 0));
    const RunLook look = LookUntilGone();
    EXPECT_FALSE(look.runExists);
    EXPECT_EQ(RunEnd::ByItself, look.end);
    EXPECT_TRUE(look.runOver);
    EXPECT_TRUE(look.results.empty());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ("COM_Thread: Thread Stopped", lines.back());
    EXPECT_FALSE(Look().runOver); // told once
}

} // namespace
} // namespace integration
