// The driver's exchange over the fake serial port: bytes on the wire, echo and
// reply checks, result codes, the reopen after a failure, and the trace.
#include "demo/driver/cct_driver.h"
#include "reply_frame.h"
#include "tests/support/fake_driver_port_opener.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Bytes = std::vector<uint8_t>;
const Bytes kAck = {0x01, 0x00, 0x02, 0x00, 0xFD};

class DriverTest : public ::testing::Test {
protected:
    DriverTest() {
        script.echo = true; // a one-wire bus
        driver.openPort = testing_support::FakeDriverPortOpener(script, log);
        driver.portName = "ttyTEST";
        driver.trace = [this](const char* label, const uint8_t* bytes, size_t n) {
            trace.push_back(label + std::string(" ") + std::to_string(n) + (n == 1 ? ":" + std::to_string(bytes[0]) : ""));
        };
    }
    int Send(uint8_t header, const Bytes& data = {}) {
        return driver.Transact(header, data.data(), static_cast<uint8_t>(data.size()), reply.data, reply.length,
                               sizeof reply.data);
    }

    // The trace and the line outlive the driver, whose end closes the port
    // and traces it.
    std::vector<std::string> trace;
    testing_support::FakePortScript script;
    testing_support::FakePortLog log;
    CctReply reply;
    CCctDriver driver;
};

TEST_F(DriverTest, SimplePollGoesOutFramedAndAnAckEndsAfterTheHead) {
    script.replies.push_back(kAck);
    EXPECT_EQ(Send(kHdrSimplePoll), 0);
    ASSERT_EQ(log.writes.size(), 1u);
    EXPECT_EQ(log.writes[0], (Bytes{0x02, 0x00, 0x01, 0xFE, 0xFF}));
    // The echo and the five-byte head; no read for a remainder.
    EXPECT_EQ(log.readSizes, (std::vector<size_t>{5, 5}));
    EXPECT_EQ(reply.length, 0);
    EXPECT_TRUE(driver.IsOpen());
}

TEST_F(DriverTest, ReplyDataReachesTheCaller) {
    script.replies.push_back(ReplyFrame(2, {'A', 'B', 'C'}));
    EXPECT_EQ(Send(kHdrManufacturerId), 3);
    EXPECT_EQ(reply.Text(), "ABC");
    EXPECT_EQ(log.readSizes, (std::vector<size_t>{5, 5, 3}));
}

TEST_F(DriverTest, NinetyFiveDataBytesAreSentAndNinetySixAreRefusedWithoutTouchingThePort) {
    script.replies.push_back(kAck);
    const Bytes most(95, 0x11);
    EXPECT_EQ(Send(kHdrModifyInhibits, most), 0);
    ASSERT_EQ(log.writes.size(), 1u);
    EXPECT_EQ(log.writes[0].size(), 100u);
    EXPECT_TRUE(CctSumIsZero(log.writes[0].data(), 100));

    driver.cctClose();
    const int opensBefore = log.openings;
    EXPECT_EQ(Send(kHdrModifyInhibits, Bytes(96, 0x11)), kTransactRequestTooLong);
    EXPECT_EQ(log.openings, opensBefore);
    EXPECT_EQ(log.writes.size(), 1u);
    EXPECT_FALSE(driver.IsOpen());
}

TEST_F(DriverTest, PortIsConfiguredForTheBusWhenOpened) {
    script.line.baudRate = 115200;
    script.line.parity = 2;
    script.line.dtrControl = 1;
    script.line.rtsControl = 2;
    script.timeouts.readInterval = 77;
    script.replies.push_back(kAck);
    ASSERT_EQ(Send(kHdrSimplePoll), 0);
    EXPECT_EQ(log.openedNames, (std::vector<std::string>{"ttyTEST"}));
    EXPECT_EQ(script.line.baudRate, 9600u);
    EXPECT_EQ(script.line.byteSize, 8);
    EXPECT_EQ(script.line.parity, 0);
    EXPECT_EQ(script.line.stopBits, 0);
    EXPECT_EQ(script.line.dtrControl, 0);
    EXPECT_EQ(script.line.rtsControl, 0);
    EXPECT_FALSE(script.line.ctsOutputFlow);
    EXPECT_EQ(script.timeouts.readInterval, 0u);
    EXPECT_EQ(script.timeouts.readTotalMultiplier, 3u);
    EXPECT_EQ(script.timeouts.readTotalConstant, 50u);
    EXPECT_EQ(script.timeouts.writeTotalMultiplier, 20u);
    EXPECT_EQ(script.timeouts.writeTotalConstant, 20u);
}

TEST_F(DriverTest, WithoutEchoEveryExchangeFailsAndClosesThePort) {
    script.echo = false;
    // The reply lands where the echo was expected and differs from it.
    script.replies.push_back(kAck);
    EXPECT_EQ(Send(kHdrSimplePoll), -kExchangeEchoDiffers);
    EXPECT_FALSE(driver.IsOpen());
    // Nothing at all comes back.
    EXPECT_EQ(Send(kHdrSimplePoll), -kExchangeEchoShort);
    EXPECT_FALSE(driver.IsOpen());
    EXPECT_EQ(log.openings, 2);
    EXPECT_EQ(log.closes, 2);
}

TEST_F(DriverTest, ShortHeadAndShortRemainderHaveTheirOwnCodes) {
    script.replies.push_back({0x01, 0x00, 0x02});
    EXPECT_EQ(Send(kHdrSimplePoll), -kExchangeHeadShort);
    Bytes cut = ReplyFrame(2, {1, 2, 3});
    cut.pop_back();
    script.replies.push_back(cut);
    EXPECT_EQ(Send(kHdrManufacturerId), -kExchangeReplyShort);
    EXPECT_EQ(reply.length, 0);
}

TEST_F(DriverTest, FailedCallsAndShortWritesAreReported) {
    script.writeLimit = 3;
    EXPECT_EQ(Send(kHdrSimplePoll), -kExchangeWriteShort);
    script.writeLimit = SIZE_MAX;
    script.failRead = true;
    EXPECT_EQ(Send(kHdrSimplePoll), -kExchangeCallFailed);
}

TEST_F(DriverTest, ReplyAnnouncingMoreThanTheFrameHoldsIsRefused) {
    Bytes head = {0x01, 96, 0x02, 0x00, 0x00};
    script.replies.push_back(head);
    EXPECT_EQ(Send(kHdrManufacturerId), -kExchangeReplyTooLong);
    EXPECT_EQ(reply.length, 0);
    EXPECT_FALSE(driver.IsOpen());
    // Only the echo and the head were read as the frame; then the line is
    // read a byte at a time until it is quiet.
    EXPECT_EQ(log.readSizes, (std::vector<size_t>{5, 5, 1}));
}

TEST_F(DriverTest, WhatComesAfterAFailureIsReadAwayBeforeTheNextRequest) {
    // A reply whose checksum is wrong, and the tail of a late reply behind it.
    Bytes damaged = ReplyFrame(2, {'A', 'B', 'C'});
    damaged.back() ^= 0x01;
    damaged.insert(damaged.end(), {0x02, 0x00, 0xFD});
    script.replies.push_back(damaged);
    script.replies.push_back(kAck);
    EXPECT_EQ(Send(kHdrManufacturerId), -kExchangeBadChecksum);
    EXPECT_TRUE(script.pending.empty());
    EXPECT_NE(std::find(trace.begin(), trace.end(), std::string(trace_label::kDiscarded) + " 3"), trace.end());
    // The quiet wait reads with a limit of its own and gives the line its
    // limits back.
    EXPECT_EQ(script.timeouts.readTotalConstant, driver.timeouts.readTotalConstant);
    EXPECT_EQ(script.timeouts.readTotalMultiplier, driver.timeouts.readTotalMultiplier);
    EXPECT_EQ(Send(kHdrSimplePoll), 0);
}

TEST_F(DriverTest, ReplyLongerThanTheCallersBufferIsRefusedAndTheBufferUntouched) {
    script.replies.push_back(ReplyFrame(2, Bytes(12, 0x42)));
    uint8_t small[11 + 4];
    std::fill(std::begin(small), std::end(small), 0xEE);
    uint8_t length = 99;
    EXPECT_EQ(driver.Transact(kHdrReadBufferedCredit, nullptr, 0, small, length, 11), -kExchangeReplyTooLong);
    EXPECT_EQ(length, 0);
    for (uint8_t b : small) EXPECT_EQ(b, 0xEE);
}

TEST_F(DriverTest, PortThatCannotBeOpenedGivesEightOnEveryRequest) {
    script.failOpen = true;
    EXPECT_EQ(Send(kHdrSimplePoll), -kExchangeNotOpen);
    EXPECT_EQ(Send(kHdrSimplePoll), -kExchangeNotOpen);
    EXPECT_EQ(log.openedNames.size(), 2u);
    EXPECT_EQ(trace[0], "? 0");
}

TEST_F(DriverTest, PortThatRefusesItsSettingsIsStillUsed) {
    script.failGetLine = true;
    script.replies.push_back(kAck);
    EXPECT_EQ(Send(kHdrSimplePoll), 0);
    EXPECT_EQ(log.openings, 1);
}

TEST_F(DriverTest, PortThatFailsToCloseStaysInUse) {
    script.replies.push_back(kAck);
    ASSERT_EQ(Send(kHdrSimplePoll), 0);
    script.failClose = true;
    driver.cctClose();
    EXPECT_TRUE(driver.IsOpen());
    script.replies.push_back(kAck);
    EXPECT_EQ(Send(kHdrSimplePoll), 0);
    EXPECT_EQ(log.openings, 1);
    EXPECT_EQ(std::count(trace.begin(), trace.end(), "\r\ncctClose->err\r\n 0"), 1);
}

TEST_F(DriverTest, TraceFollowsTheExchange) {
    script.replies.push_back(kAck);
    Send(kHdrSimplePoll);
    Send(kHdrSimplePoll); // no reply this time
    EXPECT_EQ(trace, (std::vector<std::string>{"cctOpen->ok 0", "\r\nTx:  5", "\r\nRx:  5", "  5", "\r\nTx:  5",
                                               "\r\nRx:  5", "  0", "TxRxErr # 1:5", "\r\ncctClose->ok\r\n 0"}));
}

} // namespace
