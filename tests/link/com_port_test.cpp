#include "tests/support/fake_port_opener.h"
#include "test_support.h"

#include "link/com_port.h"
#include "link/frame_codec.h"
#include "link/port_settings.h"
#include "platform/clock.h"
#include "sim/pty/pty_pair.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using testing_support::DrainLog;
using testing_support::FakePortOpener;

class ComPort : public testing_support::LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        std::strcpy(szPortName, "COM6");
        dwBaudRate = 57600;
    }
    FakePortOpener opener;
};

TEST_F(ComPort, OpensConfiguresPurgesAndClearsInThisOrder) {
    platform::LineSettings driver;
    driver.baudRate = 1200;
    driver.byteSize = 7;
    driver.parity = 2;
    driver.stopBits = 2;
    driver.ctsOutputFlow = true;
    driver.dtrControl = 2;
    driver.rtsControl = 3;
    driver.errorCharReplace = true;
    opener.script.line = driver;

    std::unique_ptr<platform::SerialPort> port;
    ASSERT_TRUE(OpenComPort(port));
    ASSERT_NE(nullptr, port);
    EXPECT_EQ((std::vector<std::string>{"COM6"}), opener.log.openedNames);
    EXPECT_EQ((std::vector<std::string>{"GetLine", "SetLine", "SetTimeouts", "Purge:0A", "Purge:05", "ClearErrors"}),
              opener.log.calls);
    const platform::LineSettings& set = opener.script.line; // as the port now holds it
    EXPECT_EQ(57600u, set.baudRate);
    EXPECT_EQ(8, set.byteSize);
    EXPECT_EQ(0, set.parity);
    EXPECT_EQ(0, set.stopBits);
    // What the driver reported otherwise stays as it was.
    EXPECT_TRUE(set.ctsOutputFlow);
    EXPECT_EQ(2, set.dtrControl);
    EXPECT_EQ(3, set.rtsControl);
    EXPECT_TRUE(set.errorCharReplace);
    const platform::Timeouts& t = opener.script.timeouts;
    EXPECT_EQ(100u, t.readInterval);
    EXPECT_EQ(10u, t.readTotalMultiplier);
    EXPECT_EQ(1000u, t.readTotalConstant);
    EXPECT_EQ(0u, t.writeTotalMultiplier);
    EXPECT_EQ(0u, t.writeTotalConstant);
    EXPECT_TRUE(DrainLog().empty());
}

TEST_F(ComPort, OpenFailureNamesThePortAndTheSystemError) {
    opener.script.failOpen = true;
    opener.script.systemError = 2;
    std::unique_ptr<platform::SerialPort> port;
    EXPECT_FALSE(OpenComPort(port));
    EXPECT_EQ(nullptr, port);
    EXPECT_EQ((std::vector<std::string>{"COM_Thread:  Невозможно открыть порт COM6, Error = 2"}), DrainLog());
}

TEST_F(ComPort, EachConfigurationFailureHasItsMessageAndStopsThere) {
    struct Case {
        bool testing_support::FakePortScript::*failure;
        std::vector<std::string> calls;
        std::string message;
    };
    const Case cases[] = {
        {&testing_support::FakePortScript::failGetLine, {"GetLine"},
         "COM_Thread: Ошибка функции GetCommState(hCom, ..."},
        {&testing_support::FakePortScript::failSetLine, {"GetLine", "SetLine"},
         "COM_Thread:  Ошибка функции SetCommState(hCom, ..."},
        {&testing_support::FakePortScript::failSetTimeouts, {"GetLine", "SetLine", "SetTimeouts"},
         "COM_Thread:  Ошибка функции SetCommTimeouts(hCom, ..."},
    };
    for (const Case& c : cases) {
        opener.script = {};
        opener.log = {};
        opener.script.*c.failure = true;
        std::unique_ptr<platform::SerialPort> port;
        EXPECT_FALSE(OpenComPort(port)) << c.message;
        EXPECT_NE(nullptr, port); // still open, for the run's end to close
        EXPECT_EQ(c.calls, opener.log.calls);
        EXPECT_EQ((std::vector<std::string>{c.message}), DrainLog());
    }
}

TEST_F(ComPort, LineCheckReportsErrorsOncePerCheck) {
    opener.script.lineErrors = {0, platform::kLineErrorFrame, platform::kLineErrorOverrun | platform::kLineErrorParity};
    std::unique_ptr<platform::SerialPort> port;
    ASSERT_TRUE(OpenComPort(port)); // takes the first (0)
    EXPECT_FALSE(CheckLineBeforeCommand(*port));
    EXPECT_FALSE(CheckLineBeforeCommand(*port));
    EXPECT_TRUE(CheckLineBeforeCommand(*port));
    const std::string message = "COM_Thread:  Ошибка функции ClearCommError(hCom, ...";
    EXPECT_EQ((std::vector<std::string>{message, message}), DrainLog());
}

TEST(ComPortOverPty, SilentAcceptorGivesMinusOneAfterTheTimeLimit) {
    testing_support::ResetLinkState();
    sim::PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    ASSERT_LE(pty.SlavePath().size(), kPortNameChars);
    std::strcpy(szPortName, pty.SlavePath().c_str());
    dwBaudRate = 57600;
    std::unique_ptr<platform::SerialPort> port;
    ASSERT_TRUE(OpenComPort(port));
    const uint64_t start = platform::SteadyMilliseconds();
    EXPECT_EQ(-1, ReadReplyHead(*port, ReplyForm::Short));
    const uint64_t elapsed = platform::SteadyMilliseconds() - start;
    // 1000 ms + 10 ms per byte asked; generous above for a loaded machine.
    EXPECT_GE(elapsed, 1000u);
    EXPECT_LT(elapsed, 3000u);
}

} // namespace
