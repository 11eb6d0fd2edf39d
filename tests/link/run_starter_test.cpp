#include "test_support.h"

#include "link/com_thread.h"
#include "link/command_mailbox.h"
#include "link/front_end.h"
#include "tests/support/run_environment_parts.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using testing_support::DrainLog;
using testing_support::UseThreadStarter;

// What the starter's front end and thread start saw, in order. Starts in these tests never
// create a thread, so everything stays on the test's thread.
struct Seen {
    std::vector<bool> controls;
    int32_t commandAtControls = -1;
    uintptr_t runAtThreadStart = 0;
    int32_t stopAtThreadStart = -1;
    int32_t commandAtThreadStart = -1;
    int threadStarts = 0;
};
Seen g_seen;

class RecordingFrontEnd final : public FrontEnd {
public:
    void EnableCommandControls(bool on) override {
        g_seen.controls.push_back(on);
        g_seen.commandAtControls = Mailbox.iCommand.load();
    }
    void WriteIdentityLine(const char*) override {}
    void RefreshDeviceCoinList() override {}
};
RecordingFrontEnd g_frontEnd;

bool RecordStart(platform::ThreadProc proc, void* argument, bool result) {
    EXPECT_EQ(&COM_Thread, proc);
    EXPECT_EQ(nullptr, argument);
    ++g_seen.threadStarts;
    g_seen.runAtThreadStart = Mailbox.hComThread.load();
    g_seen.stopAtThreadStart = Mailbox.bStopThread.load();
    g_seen.commandAtThreadStart = Mailbox.iCommand.load();
    return result;
}

bool StartFails(platform::ThreadProc proc, void* argument) { return RecordStart(proc, argument, false); }
bool StartPretends(platform::ThreadProc proc, void* argument) { return RecordStart(proc, argument, true); }

StartRequest StartButton() {
    StartRequest request;
    request.command = kExtensionHeader;
    request.subCommand = 0;
    request.nextCommand = 3;
    request.resetRecordNumber = true;
    request.failureMessage = "DlgProc:  Ошибка создания потока обслуживания COM-порта";
    return request;
}

class RunStarter : public testing_support::LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        g_seen = Seen{};
        InstallFrontEnd(&g_frontEnd);
        Mailbox.bStopThread = 1; // as the previous run left it
        Mailbox.dwLastRecordNumber = 1234;
        Mailbox.iCommand = kIdleCommand;
    }
    void TearDown() override {
        Mailbox.hComThread = 0; // a pretended start leaves no thread to clear it
        LinkTest::TearDown();
    }
};

TEST_F(RunStarter, FailedThreadStartQueuesTheStartersMessageAndLeavesNoRun) {
    UseThreadStarter(&StartFails);
    EXPECT_FALSE(StartComRun(StartButton()));
    EXPECT_EQ((std::vector<std::string>{"DlgProc:  Ошибка создания потока обслуживания COM-порта"}), DrainLog());
    EXPECT_FALSE(RunExists());
    // The controls stay in the running state until STOP: the stop flag is 0.
    EXPECT_EQ((std::vector<bool>{false}), g_seen.controls);
    EXPECT_EQ(0, Mailbox.bStopThread.load());
    EXPECT_EQ(kExtensionHeader, Mailbox.iCommand.load());
    EXPECT_EQ(0, Mailbox.bSubCommand.load());
    EXPECT_EQ(3, Mailbox.iNextCommand.load());
    EXPECT_EQ(-1, Mailbox.dwLastRecordNumber.load());
}

TEST_F(RunStarter, RunIsRegisteredAndCommandWrittenBeforeTheThreadStarts) {
    UseThreadStarter(&StartPretends);
    StartRequest request = StartButton();
    request.subCommand = 6;
    request.nextCommand = 6;
    request.resetRecordNumber = false;
    EXPECT_TRUE(StartComRun(request));
    EXPECT_EQ(1, g_seen.threadStarts);
    EXPECT_NE(0u, g_seen.runAtThreadStart);
    EXPECT_EQ(0, g_seen.stopAtThreadStart);
    EXPECT_EQ(kExtensionHeader, g_seen.commandAtThreadStart);
    EXPECT_EQ(6, Mailbox.bSubCommand.load());
    EXPECT_EQ(6, Mailbox.iNextCommand.load());
    EXPECT_EQ(1234, Mailbox.dwLastRecordNumber.load()); // this starter keeps the stamp
    EXPECT_TRUE(RunExists());
    EXPECT_TRUE(DrainLog().empty());
}

TEST_F(RunStarter, ControlsAreSwitchedOffAfterTheFieldsAreCleared) {
    UseThreadStarter(&StartPretends);
    EXPECT_TRUE(StartComRun(StartButton()));
    EXPECT_EQ((std::vector<bool>{false}), g_seen.controls);
    EXPECT_EQ(0, g_seen.commandAtControls); // ReadCommandFields came first
}

TEST_F(RunStarter, SecondStartWhileARunExistsIsRefusedAndChangesNothing) {
    UseThreadStarter(&StartPretends);
    Mailbox.hComThread = 99;
    Mailbox.bSubCommand = 5;
    EXPECT_FALSE(StartComRun(StartButton()));
    EXPECT_EQ(0, g_seen.threadStarts);
    EXPECT_EQ(99u, Mailbox.hComThread.load());
    EXPECT_EQ(1, Mailbox.bStopThread.load()); // a pending STOP is not undone
    EXPECT_EQ(kIdleCommand, Mailbox.iCommand.load());
    EXPECT_EQ(5, Mailbox.bSubCommand.load());
    EXPECT_TRUE(g_seen.controls.empty());
    EXPECT_EQ((std::vector<std::string>{"DlgProc:  Ошибка создания потока обслуживания COM-порта"}), DrainLog());
}

TEST_F(RunStarter, AStarterWithItsOwnBusyTextQueuesThatInsteadOfItsFailure) {
    UseThreadStarter(&StartPretends);
    Mailbox.hComThread = 99;
    StartRequest request = StartButton();
    request.busyMessage = "busy";
    EXPECT_FALSE(StartComRun(request));
    EXPECT_EQ(0, g_seen.threadStarts);
    EXPECT_EQ((std::vector<std::string>{"busy"}), DrainLog());
    // A failed thread start still queues the failure text.
    Mailbox.hComThread = 0;
    UseThreadStarter(&StartFails);
    EXPECT_FALSE(StartComRun(request));
    EXPECT_EQ((std::vector<std::string>{"DlgProc:  Ошибка создания потока обслуживания COM-порта"}), DrainLog());
}

TEST_F(RunStarter, EachRunGetsItsOwnNonZeroHandle) {
    UseThreadStarter(&StartPretends);
    EXPECT_TRUE(StartComRun(StartButton()));
    const uintptr_t first = Mailbox.hComThread.load();
    Mailbox.hComThread = 0;
    EXPECT_TRUE(StartComRun(StartButton()));
    EXPECT_NE(0u, Mailbox.hComThread.load());
    EXPECT_NE(first, Mailbox.hComThread.load());
}

} // namespace
