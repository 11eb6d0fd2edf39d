#include "test_support.h"

#include "link/log_queue.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

using testing_support::DrainLog;

class LogQueue : public testing_support::LinkTest {};

TEST_F(LogQueue, HoldsFourHundredNinetyNineLinesAndDropsTheRest) {
    for (int i = 0; i < 600; ++i) LogQueuePush(("line " + std::to_string(i)).c_str());
    EXPECT_EQ(kLogQueueLines, LogQueueCount());
    const auto lines = DrainLog();
    ASSERT_EQ(499u, lines.size());
    EXPECT_EQ("line 0", lines.front());
    EXPECT_EQ("line 498", lines.back());
    EXPECT_EQ(0u, LogQueueCount());
    LogQueuePush("after the drain");
    EXPECT_EQ((std::vector<std::string>{"after the drain"}), DrainLog());
}

TEST_F(LogQueue, KeepsAtMostTwoHundredNinetyNineCharacters) {
    const std::string exact(299, 'a');
    LogQueuePush(exact.c_str());
    LogQueuePush(std::string(300, 'b').c_str());
    LogQueuePush(std::string(1000, 'c').c_str());
    const auto lines = DrainLog();
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ(exact, lines[0]);
    EXPECT_EQ(std::string(299, 'b'), lines[1]);
    EXPECT_EQ(std::string(299, 'c'), lines[2]);
}

TEST_F(LogQueue, FormattedLinesAreCutTheSameWay) {
    LogQueuePushFormat("Page %d of %d Log File is Read", 3, 12);
    const std::string longText(400, 'x');
    LogQueuePushFormat("[%s]", longText.c_str());
    const auto lines = DrainLog();
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ("Page 3 of 12 Log File is Read", lines[0]);
    EXPECT_EQ("[" + std::string(298, 'x'), lines[1]);
}

TEST_F(LogQueue, EmptyDrainHandsNothingOver) {
    int calls = 0;
    EXPECT_EQ(0u, LogQueueDrain([&](const char*) { ++calls; }));
    EXPECT_EQ(0, calls);
}

TEST_F(LogQueue, SinkMayQueueWhileDraining) {
    LogQueuePush("first");
    std::vector<std::string> seen;
    LogQueueDrain([&](const char* line) {
        seen.emplace_back(line);
        LogQueuePush("queued by the sink");
    });
    EXPECT_EQ((std::vector<std::string>{"first"}), seen);
    EXPECT_EQ((std::vector<std::string>{"queued by the sink"}), DrainLog());
}

TEST_F(LogQueue, LinesFromSeveralThreadsAllArriveWhole) {
    constexpr int kThreads = 4;
    constexpr int kLinesEach = 100;
    std::vector<std::string> drained;
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t) {
        writers.emplace_back([t] {
            const std::string text(200, static_cast<char>('A' + t));
            for (int i = 0; i < kLinesEach; ++i) LogQueuePush(text.c_str());
        });
    }
    for (int i = 0; i < 50; ++i) {
        for (auto& line : DrainLog()) drained.push_back(std::move(line));
    }
    for (auto& w : writers) w.join();
    for (auto& line : DrainLog()) drained.push_back(std::move(line));
    ASSERT_EQ(static_cast<size_t>(kThreads * kLinesEach), drained.size());
    for (const auto& line : drained) EXPECT_EQ(std::string(200, line[0]), line);
}

} // namespace
