// The POSIX serial port over a pty pair: the Windows read-timeout rules,
// purge, exclusive open and reopening.
#include "platform/serial_port.h"
#include "sim/pty_pair.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <poll.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

long MillisecondsSince(Clock::time_point start) {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void WriteAll(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (w < 0 && errno == EINTR) continue;
        ASSERT_GT(w, 0);
        done += static_cast<size_t>(w);
    }
}

// Up to n bytes the host wrote, waiting at most `timeoutMs` for each.
std::vector<uint8_t> ReadMaster(int fd, size_t n, int timeoutMs = 2000) {
    std::vector<uint8_t> bytes;
    while (bytes.size() < n) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0) break;
        uint8_t chunk[512];
        const ssize_t r = ::read(fd, chunk, std::min(sizeof chunk, n - bytes.size()));
        if (r <= 0) break;
        bytes.insert(bytes.end(), chunk, chunk + r);
    }
    return bytes;
}

class PosixSerialPort : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.ok());
        uint32_t error = 0;
        port = platform::OpenSerialPort(pty.slavePath(), error);
        ASSERT_NE(nullptr, port) << "error " << error;
        platform::LineSettings line;
        ASSERT_TRUE(port->getLine(line));
        line.baudRate = 57600;
        ASSERT_TRUE(port->setLine(line));
    }
    void TearDown() override {
        if (peer.joinable()) peer.join();
    }

    void SetReadLimits(uint32_t interval, uint32_t multiplier, uint32_t constant) {
        platform::Timeouts t;
        t.readInterval = interval;
        t.readTotalMultiplier = multiplier;
        t.readTotalConstant = constant;
        ASSERT_TRUE(port->setTimeouts(t));
    }

    // One read of up to n bytes; returns the milliseconds it took.
    long TimedRead(uint8_t* buffer, size_t n, size_t& got) {
        const auto start = Clock::now();
        EXPECT_TRUE(port->read(buffer, n, got));
        return MillisecondsSince(start);
    }

    // The device side sends `bytes`, one piece after each delay.
    void PeerSends(std::vector<std::pair<int, std::vector<uint8_t>>> pieces) {
        peer = std::thread([this, pieces] {
            for (const auto& piece : pieces) {
                Sleep(piece.first);
                WriteAll(pty.masterFd(), piece.second);
            }
        });
    }

    sim::PtyPair pty;
    std::unique_ptr<platform::SerialPort> port;
    std::thread peer;
};

TEST_F(PosixSerialPort, ReadReturnsAsSoonAsItsLastByteArrives) {
    SetReadLimits(100, 10, 5000);
    PeerSends({{50, {1, 2, 3, 4, 5, 6}}});
    uint8_t buffer[6] = {};
    size_t got = 0;
    const long elapsed = TimedRead(buffer, 6, got);
    EXPECT_EQ(6u, got);
    EXPECT_EQ(6, buffer[5]);
    EXPECT_GE(elapsed, 40);
    EXPECT_LT(elapsed, 1000); // far below the 5060 ms total limit
}

TEST_F(PosixSerialPort, GapLongerThanTheIntervalLimitEndsTheRead) {
    SetReadLimits(100, 0, 5000);
    PeerSends({{0, {1, 2, 3}}});
    uint8_t buffer[10];
    size_t got = 0;
    const long elapsed = TimedRead(buffer, 10, got);
    EXPECT_EQ(3u, got);
    EXPECT_GE(elapsed, 90);
    EXPECT_LT(elapsed, 2500);
}

TEST_F(PosixSerialPort, GapsShorterThanTheIntervalLimitKeepTheReadGoing) {
    SetReadLimits(150, 10, 5000);
    PeerSends({{0, {1}}, {30, {2}}, {30, {3}}, {30, {4}}, {30, {5}}});
    uint8_t buffer[5] = {};
    size_t got = 0;
    ASSERT_TRUE(port->read(buffer, 5, got));
    EXPECT_EQ(5u, got);
    EXPECT_EQ(5, buffer[4]);
}

TEST_F(PosixSerialPort, SilentReadEndsAtConstantPlusMultiplierTimesBytes) {
    SetReadLimits(100, 10, 200);
    uint8_t buffer[5];
    size_t got = 99;
    const long elapsed = TimedRead(buffer, 5, got);
    EXPECT_EQ(0u, got);
    EXPECT_GE(elapsed, 245); // 200 + 10 x 5
    EXPECT_LT(elapsed, 1500);
}

TEST_F(PosixSerialPort, TotalLimitEndsAReadWhoseBytesKeepTrickling) {
    SetReadLimits(200, 0, 300);
    std::vector<std::pair<int, std::vector<uint8_t>>> trickle;
    for (int i = 0; i < 12; ++i) trickle.push_back({50, {static_cast<uint8_t>(i)}});
    PeerSends(trickle);
    uint8_t buffer[100];
    size_t got = 0;
    const long elapsed = TimedRead(buffer, 100, got);
    EXPECT_GE(elapsed, 290);
    EXPECT_LT(elapsed, 550); // the trickle alone would last 600 ms
    EXPECT_GE(got, 3u);
    EXPECT_LT(got, 12u);
}

TEST_F(PosixSerialPort, IntervalLimitAloneWaitsForTheFirstByte) {
    SetReadLimits(50, 0, 0);
    PeerSends({{300, {7, 8}}});
    uint8_t buffer[4];
    size_t got = 0;
    EXPECT_GE(TimedRead(buffer, 4, got), 290);
    EXPECT_EQ(2u, got);
}

TEST_F(PosixSerialPort, PurgeDiscardsPendingInput) {
    SetReadLimits(50, 0, 100);
    WriteAll(pty.masterFd(), {0xAA, 0xBB, 0xCC});
    Sleep(50); // let the bytes reach the host side
    ASSERT_TRUE(port->purge(platform::kPurgeRxAbort | platform::kPurgeRxClear | platform::kPurgeTxAbort |
                            platform::kPurgeTxClear));
    uint8_t buffer[3];
    size_t got = 99;
    ASSERT_TRUE(port->read(buffer, 3, got));
    EXPECT_EQ(0u, got);
    WriteAll(pty.masterFd(), {0x01});
    ASSERT_TRUE(port->read(buffer, 1, got));
    EXPECT_EQ(1u, got);
    EXPECT_EQ(0x01, buffer[0]);
}

TEST_F(PosixSerialPort, OneWriteDeliversTheWholeFrame) {
    std::vector<uint8_t> frame(271);
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint8_t>(i);
    size_t written = 0;
    ASSERT_TRUE(port->write(frame.data(), frame.size(), written));
    EXPECT_EQ(frame.size(), written);
    EXPECT_EQ(frame, ReadMaster(pty.masterFd(), frame.size()));
}

TEST_F(PosixSerialPort, SecondOpenIsRefusedUntilTheFirstCloses) {
    uint32_t error = 0;
    EXPECT_EQ(nullptr, platform::OpenSerialPort(pty.slavePath(), error));
    EXPECT_EQ(static_cast<uint32_t>(EBUSY), error);
    ASSERT_TRUE(port->close());
    EXPECT_FALSE(port->isOpen());
    auto again = platform::OpenSerialPort(pty.slavePath(), error);
    EXPECT_NE(nullptr, again);
}

TEST_F(PosixSerialPort, ReopenedPortCarriesDataAgain) {
    ASSERT_TRUE(port->close());
    uint32_t error = 0;
    port = platform::OpenSerialPort(pty.slavePath(), error);
    ASSERT_NE(nullptr, port);
    SetReadLimits(100, 10, 1000);
    WriteAll(pty.masterFd(), {0x42, 0x43});
    uint8_t buffer[2];
    size_t got = 0;
    ASSERT_TRUE(port->read(buffer, 2, got));
    EXPECT_EQ(2u, got);
    size_t written = 0;
    const uint8_t reply[] = {0x10};
    ASSERT_TRUE(port->write(reply, 1, written));
    EXPECT_EQ((std::vector<uint8_t>{0x10}), ReadMaster(pty.masterFd(), 1));
}

TEST_F(PosixSerialPort, MissingDeviceReportsTheSystemError) {
    uint32_t error = 0;
    EXPECT_EQ(nullptr, platform::OpenSerialPort("/dev/nonexistent-serial", error));
    EXPECT_EQ(static_cast<uint32_t>(ENOENT), error);
}

TEST_F(PosixSerialPort, LineSettingsReadBackIncludingSpeedsWithoutATermiosConstant) {
    for (uint32_t speed : {2400u, 14400u, 57600u, 76800u, 230400u}) {
        platform::LineSettings line;
        ASSERT_TRUE(port->getLine(line));
        line.baudRate = speed;
        line.byteSize = 8;
        line.parity = 0;
        line.stopBits = 0;
        ASSERT_TRUE(port->setLine(line)) << speed;
        platform::LineSettings back;
        ASSERT_TRUE(port->getLine(back));
        EXPECT_EQ(speed, back.baudRate);
        EXPECT_EQ(8, back.byteSize);
        EXPECT_EQ(0, back.parity);
        EXPECT_EQ(0, back.stopBits);
    }
}

TEST_F(PosixSerialPort, LineWithoutErrorCountersReportsNoErrors) {
    uint32_t errors = 99;
    EXPECT_TRUE(port->clearErrors(errors));
    EXPECT_EQ(0u, errors);
}

TEST_F(PosixSerialPort, TimeoutsReadBackAsSet) {
    SetReadLimits(100, 10, 1000);
    platform::Timeouts t;
    ASSERT_TRUE(port->getTimeouts(t));
    EXPECT_EQ(100u, t.readInterval);
    EXPECT_EQ(10u, t.readTotalMultiplier);
    EXPECT_EQ(1000u, t.readTotalConstant);
}

} // namespace
