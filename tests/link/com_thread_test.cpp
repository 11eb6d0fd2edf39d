#include "tests/support/fake_port_opener.h"
#include "test_support.h"

#include "link/com_thread.h"
#include "link/command_mailbox.h"
#include "link/log_queue.h"
#include "link/port_settings.h"
#include "platform/clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <map>

namespace {

using testing_support::DrainLog;
using testing_support::FakePortOpener;
using testing_support::WaitForRunEnd;

const std::string kStopped = "COM_Thread: Thread Stopped";
const std::string kLineError = "COM_Thread:  Ошибка функции ClearCommError(hCom, ...";

// What the test handlers saw, for runs made on the test's own thread.
FakePortOpener* g_opener = nullptr;
std::map<int, std::vector<int>> g_passesBySubCommand; // sub-command -> passes it ran in

// The pass a handler runs in: one line check per pass after the one the
// opening makes.
int CurrentPass() { return g_opener->log.clearErrorsCalls - 1; }

template <int N>
void Record(RunState&) {
    g_passesBySubCommand[N].push_back(CurrentPass());
}

void IdentifyThenFollowUp(RunState& run) {
    Record<0>(run);
    ApplyIdentificationFollowUp();
}

void RecordAndStop3(RunState& run) {
    Record<3>(run);
    Mailbox.bStopThread = 1;
}

void MoveTo3(RunState& run) {
    Record<1>(run);
    Mailbox.bSubCommand = 3;
}

void MoveTo3AndEndPass(RunState& run) {
    MoveTo3(run);
    run.endPass = true;
}

void MoveBackTo3(RunState& run) {
    Record<6>(run);
    Mailbox.bSubCommand = 3;
}

void RecordAndStop0(RunState& run) {
    Record<0>(run);
    Mailbox.bStopThread = 1;
}

void KeepBufferAndStop(RunState& run) {
    run.pstrBufferProg.reset(new uint8_t[768]);
    run.dwBufferProgSize = 768;
    Mailbox.bStopThread = 1;
}

class ServiceThread : public testing_support::LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        g_opener = &opener;
        g_passesBySubCommand.clear();
        std::strcpy(szPortName, "COM6");
        Mailbox.hComThread = 7; // as a starter leaves it
    }
    void TearDown() override {
        LinkTest::TearDown();
        g_opener = nullptr;
    }

    // One whole run on the test's thread.
    void Run(int32_t command, uint8_t subCommand, int32_t nextCommand) {
        Mailbox.iCommand = command;
        Mailbox.bSubCommand = subCommand;
        Mailbox.iNextCommand = nextCommand;
        EXPECT_EQ(0u, COM_Thread(nullptr));
        EXPECT_EQ(0u, Mailbox.hComThread.load());
    }

    FakePortOpener opener;
};

TEST_F(ServiceThread, UnsupportedCommandIsReportedAndEndsAfterOnePass) {
    Run(0, 0, 0);
    EXPECT_EQ((std::vector<std::string>{"COM_Thread: ***** Команда [0] не поддерживается", kStopped}), DrainLog());
    EXPECT_EQ(1, Mailbox.bStopThread.load());
    EXPECT_EQ(2, opener.log.clearErrorsCalls); // the opening's and one pass
    EXPECT_EQ(1, opener.log.closes);
    EXPECT_TRUE(opener.log.writes.empty());
}

TEST_F(ServiceThread, EachHandlerRunsWithTheReplyFormItWasRegisteredWith) {
    static std::vector<ReplyForm> forms;
    forms.clear();
    RegisterExtensionHandler(1, [](RunState& run) {
        forms.push_back(run.replyForm);
        Mailbox.bSubCommand = 2;
    });
    RegisterExtensionHandler(2, [](RunState& run) {
        forms.push_back(run.replyForm);
        Mailbox.bSubCommand = 3;
    }, ReplyForm::Long);
    RegisterExtensionHandler(3, [](RunState& run) {
        forms.push_back(run.replyForm);
        Mailbox.bStopThread = 1;
    });
    Run(kExtensionHeader, 1, 0);
    EXPECT_EQ((std::vector<ReplyForm>{ReplyForm::Short, ReplyForm::Long, ReplyForm::Short}), forms);
}

TEST_F(ServiceThread, UnsupportedCommandShowsItsValue) {
    Run(kIdleCommand, 0, 0);
    EXPECT_EQ((std::vector<std::string>{"COM_Thread: ***** Команда [1255] не поддерживается", kStopped}), DrainLog());
}

TEST_F(ServiceThread, ConfigurationFailureEndsTheRunWithoutACommand) {
    RegisterExtensionHandler(0, &RecordAndStop0);
    opener.script.failSetTimeouts = true;
    Run(kExtensionHeader, 0, 3);
    EXPECT_EQ((std::vector<std::string>{"COM_Thread:  Ошибка функции SetCommTimeouts(hCom, ...", kStopped}),
              DrainLog());
    EXPECT_TRUE(g_passesBySubCommand.empty());
    EXPECT_EQ("Close", opener.log.calls.back()); // closed at the end of the run
    EXPECT_EQ(0, Mailbox.bStopThread.load());
}

TEST_F(ServiceThread, IdentificationThenItsFollowUpInTheNextPassOfOneOpening) {
    RegisterExtensionHandler(3, &RecordAndStop3);
    RegisterExtensionHandler(0, &IdentifyThenFollowUp);
    Run(kExtensionHeader, 0, 3);
    EXPECT_EQ((std::vector<int>{1}), g_passesBySubCommand[0]);
    EXPECT_EQ((std::vector<int>{2}), g_passesBySubCommand[3]);
    EXPECT_EQ(1, opener.log.openings);
    EXPECT_EQ(1, Mailbox.bDeviceIdentified.load());
    EXPECT_EQ(0, Mailbox.iNextCommand.load());
    EXPECT_EQ(3, Mailbox.bSubCommand.load());
    EXPECT_EQ((std::vector<std::string>{kStopped}), DrainLog());
}

TEST_F(ServiceThread, FollowUpWithoutAChainRepeatsTheIdentificationThenEnds) {
    RegisterExtensionHandler(0, &IdentifyThenFollowUp);
    Run(kExtensionHeader, 0, 7);
    EXPECT_EQ((std::vector<int>{1, 2}), g_passesBySubCommand[0]);
    EXPECT_EQ(1, Mailbox.bStopThread.load());
}

TEST_F(ServiceThread, HigherSubCommandSetByAHandlerRunsLaterInTheSamePass) {
    RegisterExtensionHandler(3, &RecordAndStop3); // registration order does not matter
    RegisterExtensionHandler(1, &MoveTo3);
    Run(kExtensionHeader, 1, 1);
    EXPECT_EQ((std::vector<int>{1}), g_passesBySubCommand[1]);
    EXPECT_EQ((std::vector<int>{1}), g_passesBySubCommand[3]);
}

TEST_F(ServiceThread, HandlerThatEndsThePassLeavesItsSuccessorForTheNext) {
    RegisterExtensionHandler(1, &MoveTo3AndEndPass);
    RegisterExtensionHandler(3, &RecordAndStop3);
    Run(kExtensionHeader, 1, 1);
    EXPECT_EQ((std::vector<int>{1}), g_passesBySubCommand[1]);
    EXPECT_EQ((std::vector<int>{2}), g_passesBySubCommand[3]);
}

TEST_F(ServiceThread, LowerSubCommandSetByAHandlerRunsInTheNextPass) {
    RegisterExtensionHandler(6, &MoveBackTo3);
    RegisterExtensionHandler(3, &RecordAndStop3);
    Run(kExtensionHeader, 6, 6);
    EXPECT_EQ((std::vector<int>{1}), g_passesBySubCommand[6]);
    EXPECT_EQ((std::vector<int>{2}), g_passesBySubCommand[3]);
}

TEST_F(ServiceThread, LineErrorDelaysTheCommandOnePassWithOneMessagePerPass) {
    RegisterExtensionHandler(0, &RecordAndStop0);
    opener.script.lineErrors = {platform::kLineErrorFrame, // left from before: cleared by the opening
                                platform::kLineErrorOverrun, platform::kLineErrorParity, 0};
    Run(kExtensionHeader, 0, 3);
    EXPECT_EQ((std::vector<int>{3}), g_passesBySubCommand[0]);
    EXPECT_EQ((std::vector<std::string>{kLineError, kLineError, kStopped}), DrainLog());
}

TEST_F(ServiceThread, TransferBufferIsReleasedBeforeThePortCloses) {
    RegisterExtensionHandler(2, &KeepBufferAndStop);
    const uint64_t start = platform::SteadyMilliseconds();
    Run(kExtensionHeader, 2, 2);
    EXPECT_GE(platform::SteadyMilliseconds() - start, 500u);
    EXPECT_EQ(1u, opener.queuedAtClose); // the buffer's line, not yet "Thread Stopped"
    EXPECT_EQ((std::vector<std::string>{"Удаление  pstrBufferProg  Com_Thread  Exit", kStopped}), DrainLog());
}

TEST(IdentificationFollowUp, TableOfNextCommands) {
    for (int32_t next = -1; next <= 20; ++next) {
        testing_support::ResetLinkState();
        Mailbox.iCommand = kExtensionHeader;
        Mailbox.bSubCommand = 0;
        Mailbox.iNextCommand = next;
        ApplyIdentificationFollowUp();
        EXPECT_EQ(1, Mailbox.bDeviceIdentified.load()) << next;
        EXPECT_EQ(0, Mailbox.iNextCommand.load()) << next;
        EXPECT_EQ(kExtensionHeader, Mailbox.iCommand.load()) << next;
        const bool chains = (next >= 1 && next <= 4) || (next >= 11 && next <= 13);
        EXPECT_EQ(chains ? next : 0, Mailbox.bSubCommand.load()) << next;
        EXPECT_EQ(next == 0 ? 1 : 0, Mailbox.bStopThread.load()) << next;
    }
}

// Runs on the service thread itself: only atomics cross.
std::atomic<int> g_monitorPolls{0};

void PollUntilStopped(RunState&) {
    g_monitorPolls.fetch_add(1);
    platform::SleepMilliseconds(5); // an exchange in progress
}

bool WaitForPolls(int count) {
    const uint64_t deadline = platform::SteadyMilliseconds() + 10000;
    while (g_monitorPolls.load() < count) {
        if (platform::SteadyMilliseconds() > deadline) return false;
        platform::SleepMilliseconds(1);
    }
    return true;
}

class ServiceThreadRun : public testing_support::LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        g_monitorPolls = 0;
        std::strcpy(szPortName, "COM6");
    }
    FakePortOpener opener;
};

TEST_F(ServiceThreadRun, StopEndsAContinuingCommandAfterItsExchange) {
    RegisterExtensionHandler(5, &PollUntilStopped);
    StartRequest request;
    request.subCommand = 5;
    request.nextCommand = 0;
    ASSERT_TRUE(StartComRun(request));
    ASSERT_TRUE(WaitForPolls(3));
    Mailbox.bStopThread = 1;
    const int pollsAtStop = g_monitorPolls.load();
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_LE(g_monitorPolls.load(), pollsAtStop + 1);
    EXPECT_EQ(1, opener.log.closes);
    EXPECT_EQ(1, opener.log.openings);
    EXPECT_EQ((std::vector<std::string>{kStopped}), DrainLog());
}

TEST_F(ServiceThreadRun, SubCommandWithoutHandlerPassesUntilStopped) {
    StartRequest request;
    request.subCommand = 4;
    ASSERT_TRUE(StartComRun(request));
    platform::SleepMilliseconds(50);
    EXPECT_TRUE(RunExists());
    Mailbox.bStopThread = 1;
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_GT(opener.log.clearErrorsCalls, 2);
    EXPECT_EQ((std::vector<std::string>{kStopped}), DrainLog());
}

TEST(ServiceThreadOpenFailure, MessageThenStoppedThenNoRunAndStopFlagUntouched) {
    testing_support::ResetLinkState();
    std::strcpy(szPortName, "/nonexistent/ducat");
    static std::atomic<int> handlerRuns{0};
    RegisterExtensionHandler(0, [](RunState&) { handlerRuns.fetch_add(1); });
    StartRequest request;
    request.nextCommand = 3;
    ASSERT_TRUE(StartComRun(request));
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ((std::vector<std::string>{"COM_Thread:  Невозможно открыть порт /nonexistent/ducat, Error = 2", kStopped}),
              DrainLog());
    EXPECT_EQ(0, Mailbox.bStopThread.load());
    EXPECT_EQ(0, handlerRuns.load());
    ClearExtensionHandlers();
}

} // namespace
