// How the console tells the end of a run: the deadline or Ctrl+C that
// comes while a run is ending by itself does not change its outcome.
#include "ui/console/run_driver.h"

#include "link/com_thread.h"
#include "link/command_mailbox.h"
#include "link/log_queue.h"
#include "platform/clock.h"
#include "tests/support/run_environment_parts.h"
#include "ui/starters.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <thread>

namespace {

constexpr uint32_t kEndMs = 1600; // longer than the 1 s deadline below

// A run whose work is done at once: its thread sets the stop flag itself,
// then takes its time to end (as the release of the log's block does).
bool FinishingRun(platform::ThreadProc, void*) {
    std::thread([] {
        Mailbox.bStopThread.store(1, std::memory_order_release);
        platform::SleepMilliseconds(kEndMs);
        LogQueuePush("COM_Thread: Thread Stopped");
        Mailbox.hComThread.store(0, std::memory_order_release);
    }).detach();
    return true;
}

// A run that works until it is stopped.
bool EndlessRun(platform::ThreadProc, void*) {
    std::thread([] {
        while (Mailbox.bStopThread.load(std::memory_order_acquire) == 0) platform::SleepMilliseconds(10);
        Mailbox.hComThread.store(0, std::memory_order_release);
    }).detach();
    return true;
}

class RunDriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        LogQueueInit();
        Mailbox.hComThread = 0;
        sink = std::tmpfile();
        ASSERT_NE(nullptr, sink);
    }
    void TearDown() override {
        testing_support::RestoreRunEnvironment();
        LogQueueDrain([](const char*) {});
        std::fclose(sink);
    }
    std::FILE* sink = nullptr;
};

TEST_F(RunDriverTest, ADeadlineInTheEndOfARunThatEndedItselfIsNoTimeout) {
    testing_support::UseThreadStarter(&FinishingRun);
    ConsoleView view(sink, false);
    EXPECT_EQ(RunOutcome::EndedByItself, DriveRun(StartLogExport, view, {}, 1));
    EXPECT_FALSE(RunExists());
}

TEST_F(RunDriverTest, ARunThatGoesOnIsStoppedAtItsDeadline) {
    testing_support::UseThreadStarter(&EndlessRun);
    ConsoleView view(sink, false);
    const uint64_t start = platform::SteadyMilliseconds();
    EXPECT_EQ(RunOutcome::TimedOut, DriveRun(StartIdentification, view, {}, 1));
    EXPECT_GE(platform::SteadyMilliseconds() - start, 1000u);
    EXPECT_FALSE(RunExists());
}

} // namespace
