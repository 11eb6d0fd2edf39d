// Whole exchanges over a pty pair: the host's real port, a device thread
// answering on the other side.
#include "test_support.h"

#include "link/com_port.h"
#include "link/command_mailbox.h"
#include "link/frame_codec.h"
#include "link/port_settings.h"
#include "sim/pty/pty_pair.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace {

using testing_support::WithChecksum;

std::vector<uint8_t> ReadFrom(int fd, size_t n) {
    std::vector<uint8_t> bytes;
    while (bytes.size() < n) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 2000) <= 0) break;
        uint8_t chunk[512];
        const ssize_t r = ::read(fd, chunk, std::min(sizeof chunk, n - bytes.size()));
        if (r <= 0) break;
        bytes.insert(bytes.end(), chunk, chunk + r);
    }
    return bytes;
}

void WriteTo(int fd, const uint8_t* bytes, size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, bytes, n);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return;
        bytes += w;
        n -= static_cast<size_t>(w);
    }
}

class ExchangeOverPty : public testing_support::LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        ASSERT_TRUE(pty.Ok());
        ASSERT_LE(pty.SlavePath().size(), kPortNameChars);
        std::strcpy(szPortName, pty.SlavePath().c_str());
        ASSERT_TRUE(OpenComPort(port));
    }
    void TearDown() override {
        if (device.joinable()) device.join();
        LinkTest::TearDown();
    }

    // The device reads one request and answers it in two pieces with a
    // pause shorter than the interval limit between them.
    void DeviceAnswers(size_t requestBytes, std::vector<uint8_t> reply) {
        device = std::thread([this, requestBytes, reply] {
            request = ReadFrom(pty.MasterFd(), requestBytes);
            const size_t half = reply.size() / 2;
            WriteTo(pty.MasterFd(), reply.data(), half);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            WriteTo(pty.MasterFd(), reply.data() + half, reply.size() - half);
        });
    }

    size_t BuildRequest(uint8_t function) {
        const size_t length = BeginRequest(static_cast<uint8_t>(kExtensionHeader), 6);
        TxBuffer[4] = function;
        for (size_t i = 5; i < 10; ++i) TxBuffer[i] = static_cast<uint8_t>(i);
        SealRequest(length);
        return length;
    }

    sim::PtyPair pty;
    std::unique_ptr<platform::SerialPort> port;
    std::thread device;
    std::vector<uint8_t> request;
};

TEST_F(ExchangeOverPty, ShortReplyInPiecesIsReadWhole) {
    std::vector<uint8_t> reply = {1, 101, 2, 0};
    for (int i = 0; i < 101; ++i) reply.push_back(static_cast<uint8_t>(i + 1));
    reply = WithChecksum(reply);
    DeviceAnswers(11, reply);
    const size_t length = BuildRequest(0x00);
    const ExchangeOutcome outcome = Exchange(*port, length, 104, ReplyForm::Short);
    EXPECT_EQ(ExchangeStatus::Ok, outcome.status) << outcome.value;
    device.join();
    EXPECT_EQ(std::vector<uint8_t>(TxBuffer, TxBuffer + length), request);
    EXPECT_EQ(reply, std::vector<uint8_t>(RxBuffer, RxBuffer + reply.size()));
}

TEST_F(ExchangeOverPty, LongReplyFillsTheReceiveBuffer) {
    std::vector<uint8_t> reply = {1, 0x0A, 2, 0, 0x01};
    for (int i = 5; i < 270; ++i) reply.push_back(static_cast<uint8_t>(255 - i));
    reply = WithChecksum(reply);
    DeviceAnswers(11, reply);
    EXPECT_EQ(ExchangeStatus::Ok, Exchange(*port, BuildRequest(0x13), 266, ReplyForm::Long).status);
    device.join();
    EXPECT_EQ(reply, std::vector<uint8_t>(RxBuffer, RxBuffer + kFrameBufferSize));
}

TEST_F(ExchangeOverPty, ReplyCutShortIsAShortRemainder) {
    std::vector<uint8_t> reply = {1, 101, 2, 0};
    reply.resize(60, 0x11); // the device falls silent after 60 bytes
    DeviceAnswers(11, reply);
    const ExchangeOutcome outcome = Exchange(*port, BuildRequest(0x00), 104, ReplyForm::Short);
    EXPECT_EQ(ExchangeStatus::ShortRemainder, outcome.status);
    EXPECT_EQ(58, outcome.value);
}

TEST_F(ExchangeOverPty, LineThatWentAwayFailsEachWriteWithoutHoldingACore) {
    pty.HangUp(); // the adapter is unplugged mid-run
    // The coin table read repeats a failed request at once: a second of
    // repeats is a handful of attempts, not a core's worth.
    const auto start = std::chrono::steady_clock::now();
    int attempts = 0;
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(1)) {
        const ExchangeOutcome outcome = Exchange(*port, BuildRequest(0x03), 5, ReplyForm::Short);
        ASSERT_EQ(ExchangeStatus::WriteFailed, outcome.status);
        EXPECT_EQ(static_cast<uint32_t>(EIO), outcome.systemError);
        ++attempts;
    }
    EXPECT_LE(attempts, 11);
}

} // namespace
