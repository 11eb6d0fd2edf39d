#include "tests/support/fake_serial_port.h"
#include "test_support.h"

#include "link/checksums.h"
#include "link/command_mailbox.h"
#include "link/frame_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <numeric>

namespace {

using testing_support::DrainLog;
using testing_support::FakePortLog;
using testing_support::FakePortScript;
using testing_support::FakeSerialPort;
using testing_support::WithChecksum;

constexpr uint8_t kIdentifyHeader = 255;

// A reply of the identification's size (101 data bytes) with a given header.
std::vector<uint8_t> ShortReply(uint8_t dataLength, uint8_t header) {
    std::vector<uint8_t> bytes = {1, dataLength, 2, header};
    for (int i = 0; i < dataLength; ++i) bytes.push_back(static_cast<uint8_t>(0x30 + i));
    return WithChecksum(bytes);
}

// A long-form reply of 266 data bytes: 271 bytes in all.
std::vector<uint8_t> LongReply() {
    std::vector<uint8_t> bytes = {1, 0x0A, 2, 0xFF, 0x01};
    for (int i = 5; i < 270; ++i) bytes.push_back(static_cast<uint8_t>(i * 7));
    return WithChecksum(bytes);
}

class FrameCodec : public testing_support::LinkTest {
protected:
    // Builds the 11-byte identification request in TxBuffer.
    size_t BuildRequest() {
        const size_t length = BeginRequest(kIdentifyHeader, 6);
        for (size_t i = 4; i < 10; ++i) TxBuffer[i] = 0;
        SealRequest(length);
        return length;
    }

    FakePortScript script;
    FakePortLog log;
    FakeSerialPort port{script, log};
};

TEST_F(FrameCodec, RequestFrameCarriesAddressSourceAndChecksum) {
    Mailbox.bDeviceAddress = 2;
    const size_t length = BeginRequest(0xFE, 0);
    SealRequest(length);
    ASSERT_EQ(5u, length);
    EXPECT_EQ((std::vector<uint8_t>{0x02, 0x00, 0x01, 0xFE, 0xFF}), std::vector<uint8_t>(TxBuffer, TxBuffer + 5));
}

TEST_F(FrameCodec, LongestRequestIsSealedInItsLastByte) {
    const size_t length = BeginRequest(kIdentifyHeader, 10);
    EXPECT_EQ(15u, length);
    for (size_t i = 4; i < kFrameBufferSize; ++i) TxBuffer[i] = static_cast<uint8_t>(i);
    SealRequest(kFrameBufferSize);
    const unsigned sum = std::accumulate(TxBuffer, TxBuffer + kFrameBufferSize, 0u);
    EXPECT_EQ(0u, sum % 256);
}

TEST_F(FrameCodec, SendRequestPurgesBothWaysThenWritesOnce) {
    const size_t length = BuildRequest();
    uint32_t error = 99;
    ASSERT_TRUE(SendRequest(port, TxBuffer, length, error));
    EXPECT_EQ(0u, error);
    EXPECT_EQ((std::vector<std::string>{"Purge:0F", "Write:11"}), log.calls);
    ASSERT_EQ(1u, log.writes.size());
    EXPECT_EQ(std::vector<uint8_t>(TxBuffer, TxBuffer + length), log.writes[0]);
}

TEST_F(FrameCodec, SendRequestReportsTheSystemErrorOfAFailedWrite) {
    script.failWrite = true;
    script.systemError = 0x1F;
    uint32_t error = 0;
    EXPECT_FALSE(SendRequest(port, TxBuffer, 5, error));
    EXPECT_EQ(0x1Fu, error);
}

TEST_F(FrameCodec, ShortHeadCountsSourceHeaderDataAndChecksum) {
    script.pending = {0x01, 0x00};
    EXPECT_EQ(3, ReadReplyHead(port, ReplyForm::Short));
    script.pending = {0x01, 0xFF};
    EXPECT_EQ(258, ReadReplyHead(port, ReplyForm::Short));
    EXPECT_EQ((std::vector<std::string>{"Read:2", "Read:2"}), log.calls);
}

TEST_F(FrameCodec, HeadThatDidNotComeWholeIsMinusOne) {
    script.pending = {0x01};
    EXPECT_EQ(-1, ReadReplyHead(port, ReplyForm::Short));
    EXPECT_EQ(-1, ReadReplyHead(port, ReplyForm::Short)); // silence
    script.pending = {0x01, 0x0A, 0x02, 0xFF};
    EXPECT_EQ(-1, ReadReplyHead(port, ReplyForm::Long));
}

TEST_F(FrameCodec, LongHeadReadsFiveBytesAndTheSixteenBitLength) {
    script.pending = {0x01, 0x0A, 0x02, 0xFF, 0x01};
    EXPECT_EQ(266, ReadReplyHead(port, ReplyForm::Long));
    script.pending = {0x01, 0x0A, 0x02, 0xFF, 0x01};
    EXPECT_EQ(13, ReadReplyHead(port, ReplyForm::Short));
    EXPECT_EQ((std::vector<std::string>{"Read:5", "Read:2"}), log.calls);
}

TEST_F(FrameCodec, ShortExchangeReadsHeadThenRemainderFromOffsetTwo) {
    const size_t length = BuildRequest();
    const auto reply = ShortReply(101, 0);
    script.replies.push_back(reply);
    const ExchangeOutcome outcome = Exchange(port, length, 104, ReplyForm::Short);
    EXPECT_EQ(ExchangeStatus::Ok, outcome.status);
    EXPECT_EQ((std::vector<std::string>{"Purge:0F", "Write:11", "Read:2", "Read:104"}), log.calls);
    EXPECT_EQ(reply, std::vector<uint8_t>(RxBuffer, RxBuffer + reply.size()));
}

TEST_F(FrameCodec, LongExchangeReadsFromOffsetFiveAndChecksChecksumAt270) {
    const auto reply = LongReply();
    ASSERT_EQ(271u, reply.size());
    script.replies.push_back(reply);
    EXPECT_EQ(ExchangeStatus::Ok, Exchange(port, BuildRequest(), 266, ReplyForm::Long).status);
    EXPECT_EQ((std::vector<std::string>{"Purge:0F", "Write:11", "Read:5", "Read:266"}), log.calls);
    EXPECT_EQ(reply, std::vector<uint8_t>(RxBuffer, RxBuffer + kFrameBufferSize));

    auto damaged = reply;
    damaged[270] ^= 0x01;
    script.replies.push_back(damaged);
    const ExchangeOutcome bad = Exchange(port, BuildRequest(), 266, ReplyForm::Long);
    EXPECT_EQ(ExchangeStatus::BadChecksum, bad.status);
    EXPECT_EQ(0xFF, bad.value);
}

TEST_F(FrameCodec, WrongHeadEndsTheExchangeBeforeTheRemainder) {
    script.replies.push_back(ShortReply(100, 0));
    std::fill(std::begin(RxBuffer), std::end(RxBuffer), 0);
    const ExchangeOutcome outcome = Exchange(port, BuildRequest(), 104, ReplyForm::Short);
    EXPECT_EQ(ExchangeStatus::WrongHead, outcome.status);
    EXPECT_EQ(103, outcome.value);
    // The remainder is never read as one: what follows the head is only
    // waited out, and RxBuffer holds the head alone.
    EXPECT_EQ(1, std::count(log.calls.begin(), log.calls.end(), "Read:2"));
    EXPECT_EQ(0, std::count(log.calls.begin(), log.calls.end(), "Read:104"));
    EXPECT_TRUE(std::all_of(RxBuffer + 2, std::end(RxBuffer), [](uint8_t b) { return b == 0; }));
}

TEST_F(FrameCodec, FailedExchangeWaitsForAQuietLineWithItsOwnLimitsThenRestoresThem) {
    // What a failed exchange leaves on the line (the rest of a mis-framed
    // reply) would be read as the next reply's head.
    const platform::Timeouts link{100, 10, 1000, 0, 0};
    script.timeouts = link;
    auto reply = ShortReply(100, 0);
    reply.resize(400, 0xAA);
    script.replies.push_back(reply);
    EXPECT_EQ(ExchangeStatus::WrongHead, Exchange(port, BuildRequest(), 104, ReplyForm::Short).status);
    EXPECT_TRUE(script.pending.empty());
    // Reads until one brings nothing: 398 bytes, then quiet.
    EXPECT_EQ((std::vector<std::string>{"Purge:0F", "Write:11", "Read:2", "GetTimeouts", "SetTimeouts", "Read:271",
                                        "Read:271", "Read:271", "SetTimeouts"}),
              log.calls);
    EXPECT_EQ(link.readInterval, script.timeouts.readInterval);
    EXPECT_EQ(link.readTotalMultiplier, script.timeouts.readTotalMultiplier);
    EXPECT_EQ(link.readTotalConstant, script.timeouts.readTotalConstant);

    // A good exchange reads its frame and nothing more.
    script.replies.push_back(ShortReply(101, 0));
    log.calls.clear();
    EXPECT_EQ(ExchangeStatus::Ok, Exchange(port, BuildRequest(), 104, ReplyForm::Short).status);
    EXPECT_EQ((std::vector<std::string>{"Purge:0F", "Write:11", "Read:2", "Read:104"}), log.calls);
}

TEST_F(FrameCodec, SilenceIsAWrongHeadOfMinusOne) {
    const ExchangeOutcome outcome = Exchange(port, BuildRequest(), 104, ReplyForm::Short);
    EXPECT_EQ(ExchangeStatus::WrongHead, outcome.status);
    EXPECT_EQ(-1, outcome.value);
}

TEST_F(FrameCodec, HeadBeyondTheReceiveBufferIsNeverRead) {
    struct Case {
        std::vector<uint8_t> head;
        int expected;
    };
    // Even a command that expects an oversized head gets a wrong head, and
    // nothing past the five head bytes is read.
    const Case cases[] = {
        {{0x01, 0xFF, 0x02, 0xFF, 0xFF}, 266},
        {{0x01, 0xFF, 0x02, 0xFF, 0xFF}, 65535},
        {{0x01, 0x0B, 0x02, 0xFF, 0x01}, 267},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> reply = c.head;
        reply.resize(400, 0xAA);
        script.replies.push_back(reply);
        log.calls.clear();
        const ExchangeOutcome outcome = Exchange(port, BuildRequest(), c.expected, ReplyForm::Long);
        EXPECT_EQ(ExchangeStatus::WrongHead, outcome.status) << c.expected;
        EXPECT_EQ(c.head[4] * 256 + c.head[1], outcome.value);
        // The head alone went to RxBuffer; the rest was waited out.
        ASSERT_GE(log.calls.size(), 3u);
        EXPECT_EQ((std::vector<std::string>{"Purge:0F", "Write:11", "Read:5"}),
                  std::vector<std::string>(log.calls.begin(), log.calls.begin() + 3));
        EXPECT_EQ(1, std::count(log.calls.begin(), log.calls.end(), "Read:5"));
        EXPECT_TRUE(script.pending.empty());
    }
}

TEST_F(FrameCodec, ShortRemainderReportsTheBytesThatCame) {
    auto reply = ShortReply(101, 0);
    reply.resize(50);
    script.replies.push_back(reply);
    const ExchangeOutcome outcome = Exchange(port, BuildRequest(), 104, ReplyForm::Short);
    EXPECT_EQ(ExchangeStatus::ShortRemainder, outcome.status);
    EXPECT_EQ(48, outcome.value);
}

TEST_F(FrameCodec, ChecksumMismatchIsReportedWithTheReplyHeader) {
    auto reply = ShortReply(101, 0x07);
    reply.back() = static_cast<uint8_t>(reply.back() + 1);
    script.replies.push_back(reply);
    const ExchangeOutcome outcome = Exchange(port, BuildRequest(), 104, ReplyForm::Short);
    EXPECT_EQ(ExchangeStatus::BadChecksum, outcome.status);
    EXPECT_EQ(0x07, outcome.value);
}

TEST_F(FrameCodec, AnyFrameSummingToZeroIsAccepted) {
    script.replies.push_back({0x00, 0x00, 0x00, 0x00, 0x00});
    EXPECT_EQ(ExchangeStatus::Ok, Exchange(port, BuildRequest(), 3, ReplyForm::Short).status);
    script.replies.push_back({0x80, 0x01, 0x80, 0xFE, 0xFF, 0x02});
    EXPECT_EQ(ExchangeStatus::Ok, Exchange(port, BuildRequest(), 4, ReplyForm::Short).status);
}

TEST_F(FrameCodec, StrayBytesBeforeTheRequestAreDiscarded) {
    script.pending = {0x55, 0x66, 0x77};
    script.replies.push_back(ShortReply(0, 0));
    EXPECT_EQ(ExchangeStatus::Ok, Exchange(port, BuildRequest(), 3, ReplyForm::Short).status);
}

TEST_F(FrameCodec, WriteFailureEndsTheExchangeWithItsMessage) {
    script.failWrite = true;
    script.systemError = 0x1F;
    const ExchangeOutcome outcome = Exchange(port, BuildRequest(), 104, ReplyForm::Short);
    EXPECT_EQ(ExchangeStatus::WriteFailed, outcome.status);
    EXPECT_EQ(11, outcome.value);
    EXPECT_EQ(0x1Fu, outcome.systemError);
    EXPECT_EQ("Write:11", log.calls.back()); // no read after a failed write
    ReportWriteFailure(outcome);
    EXPECT_EQ((std::vector<std::string>{"C_T: ***** ошибка 1F  функции WriteFile(hCom, ... 0х01: - 11 байт"}), DrainLog());
}

TEST_F(FrameCodec, ShortWriteFailsWithoutAStaleSystemError) {
    script.writeLimit = 4;
    script.failWrite = true; // leaves a system error behind in the port
    (void)Exchange(port, BuildRequest(), 104, ReplyForm::Short);
    script.failWrite = false;
    const ExchangeOutcome outcome = Exchange(port, BuildRequest(), 104, ReplyForm::Short);
    EXPECT_EQ(ExchangeStatus::WriteFailed, outcome.status);
    EXPECT_EQ(11, outcome.value);
    EXPECT_EQ(0u, outcome.systemError); // the call itself did not fail
}

} // namespace
