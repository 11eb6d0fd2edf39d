// The POSIX serial port over a pty pair: the Windows read and write
// timeout rules, purge, exclusive open, reopening, kept line settings, and
// a line that stops taking bytes or goes away.
#include "platform/serial_port.h"
#include "sim/pty/pty_pair.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <termios.h>
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

// CPU time this thread has used, in milliseconds.
long ThreadCpuMilliseconds() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<long>(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

class PosixSerialPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.Ok());
        uint32_t error = 0;
        port = platform::OpenSerialPort(pty.SlavePath(), error);
        ASSERT_NE(nullptr, port) << "error " << error;
        platform::LineSettings line;
        ASSERT_TRUE(port->GetLine(line));
        line.baudRate = 57600;
        ASSERT_TRUE(port->SetLine(line));
    }
    void TearDown() override {
        if (peer.joinable()) peer.join();
    }

    void SetReadLimits(uint32_t interval, uint32_t multiplier, uint32_t constant) {
        platform::Timeouts t;
        t.readInterval = interval;
        t.readTotalMultiplier = multiplier;
        t.readTotalConstant = constant;
        ASSERT_TRUE(port->SetTimeouts(t));
    }

    void SetWriteLimits(uint32_t multiplier, uint32_t constant) {
        platform::Timeouts t;
        ASSERT_TRUE(port->GetTimeouts(t));
        t.writeTotalMultiplier = multiplier;
        t.writeTotalConstant = constant;
        ASSERT_TRUE(port->SetTimeouts(t));
    }

    // Writes until the pty holds all it can while nobody reads the device
    // side; returns how many bytes it took.
    size_t FillTheLine() {
        SetWriteLimits(0, 200);
        std::vector<uint8_t> flood(1 << 20, 0x55);
        size_t written = 0;
        EXPECT_TRUE(port->Write(flood.data(), flood.size(), written));
        EXPECT_GT(written, 0u);
        EXPECT_LT(written, flood.size());
        return written;
    }

    // One write of n bytes; returns the milliseconds it took.
    long TimedWrite(size_t n, size_t& written, bool& ok) {
        std::vector<uint8_t> bytes(n, 0x42);
        const auto start = Clock::now();
        ok = port->Write(bytes.data(), n, written);
        return MillisecondsSince(start);
    }

    // One read of up to n bytes; returns the milliseconds it took.
    long TimedRead(uint8_t* buffer, size_t n, size_t& got) {
        const auto start = Clock::now();
        EXPECT_TRUE(port->Read(buffer, n, got));
        return MillisecondsSince(start);
    }

    // The device side sends `bytes`, one piece after each delay.
    void PeerSends(std::vector<std::pair<int, std::vector<uint8_t>>> pieces) {
        peer = std::thread([this, pieces] {
            for (const auto& piece : pieces) {
                Sleep(piece.first);
                WriteAll(pty.MasterFd(), piece.second);
            }
        });
    }

    sim::PtyPair pty;
    std::unique_ptr<platform::SerialPort> port;
    std::thread peer;
};

TEST_F(PosixSerialPortTest, ReadReturnsAsSoonAsItsLastByteArrives) {
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

TEST_F(PosixSerialPortTest, GapLongerThanTheIntervalLimitEndsTheRead) {
    SetReadLimits(100, 0, 5000);
    PeerSends({{0, {1, 2, 3}}});
    uint8_t buffer[10];
    size_t got = 0;
    const long elapsed = TimedRead(buffer, 10, got);
    EXPECT_EQ(3u, got);
    EXPECT_GE(elapsed, 90);
    EXPECT_LT(elapsed, 2500);
}

TEST_F(PosixSerialPortTest, GapsShorterThanTheIntervalLimitKeepTheReadGoing) {
    SetReadLimits(150, 10, 5000);
    PeerSends({{0, {1}}, {30, {2}}, {30, {3}}, {30, {4}}, {30, {5}}});
    uint8_t buffer[5] = {};
    size_t got = 0;
    ASSERT_TRUE(port->Read(buffer, 5, got));
    EXPECT_EQ(5u, got);
    EXPECT_EQ(5, buffer[4]);
}

TEST_F(PosixSerialPortTest, SilentReadEndsAtConstantPlusMultiplierTimesBytes) {
    SetReadLimits(100, 10, 200);
    uint8_t buffer[5];
    size_t got = 99;
    const long elapsed = TimedRead(buffer, 5, got);
    EXPECT_EQ(0u, got);
    EXPECT_GE(elapsed, 245); // 200 + 10 x 5
    EXPECT_LT(elapsed, 1500);
}

TEST_F(PosixSerialPortTest, TotalLimitEndsAReadWhoseBytesKeepTrickling) {
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

TEST_F(PosixSerialPortTest, IntervalLimitAloneWaitsForTheFirstByte) {
    SetReadLimits(50, 0, 0);
    PeerSends({{300, {7, 8}}});
    uint8_t buffer[4];
    size_t got = 0;
    EXPECT_GE(TimedRead(buffer, 4, got), 290);
    EXPECT_EQ(2u, got);
}

TEST_F(PosixSerialPortTest, PurgeDiscardsPendingInput) {
    SetReadLimits(50, 0, 100);
    WriteAll(pty.MasterFd(), {0xAA, 0xBB, 0xCC});
    Sleep(50); // let the bytes reach the host side
    ASSERT_TRUE(port->Purge(platform::kPurgeRxAbort | platform::kPurgeRxClear | platform::kPurgeTxAbort |
                            platform::kPurgeTxClear));
    uint8_t buffer[3];
    size_t got = 99;
    ASSERT_TRUE(port->Read(buffer, 3, got));
    EXPECT_EQ(0u, got);
    WriteAll(pty.MasterFd(), {0x01});
    ASSERT_TRUE(port->Read(buffer, 1, got));
    EXPECT_EQ(1u, got);
    EXPECT_EQ(0x01, buffer[0]);
}

TEST_F(PosixSerialPortTest, OneWriteDeliversTheWholeFrame) {
    std::vector<uint8_t> frame(271);
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint8_t>(i);
    size_t written = 0;
    ASSERT_TRUE(port->Write(frame.data(), frame.size(), written));
    EXPECT_EQ(frame.size(), written);
    EXPECT_EQ(frame, ReadMaster(pty.MasterFd(), frame.size()));
}

TEST_F(PosixSerialPortTest, SecondOpenIsRefusedUntilTheFirstCloses) {
    uint32_t error = 0;
    EXPECT_EQ(nullptr, platform::OpenSerialPort(pty.SlavePath(), error));
    EXPECT_EQ(static_cast<uint32_t>(EBUSY), error);
    ASSERT_TRUE(port->Close());
    EXPECT_FALSE(port->IsOpen());
    auto again = platform::OpenSerialPort(pty.SlavePath(), error);
    EXPECT_NE(nullptr, again);
}

TEST_F(PosixSerialPortTest, ReopenedPortCarriesDataAgain) {
    ASSERT_TRUE(port->Close());
    uint32_t error = 0;
    port = platform::OpenSerialPort(pty.SlavePath(), error);
    ASSERT_NE(nullptr, port);
    SetReadLimits(100, 10, 1000);
    WriteAll(pty.MasterFd(), {0x42, 0x43});
    uint8_t buffer[2];
    size_t got = 0;
    ASSERT_TRUE(port->Read(buffer, 2, got));
    EXPECT_EQ(2u, got);
    size_t written = 0;
    const uint8_t reply[] = {0x10};
    ASSERT_TRUE(port->Write(reply, 1, written));
    EXPECT_EQ((std::vector<uint8_t>{0x10}), ReadMaster(pty.MasterFd(), 1));
}

TEST_F(PosixSerialPortTest, MissingDeviceReportsTheSystemError) {
    uint32_t error = 0;
    EXPECT_EQ(nullptr, platform::OpenSerialPort("/dev/nonexistent-serial", error));
    EXPECT_EQ(static_cast<uint32_t>(ENOENT), error);
}

TEST_F(PosixSerialPortTest, LineSettingsReadBackIncludingSpeedsWithoutATermiosConstant) {
    for (uint32_t speed : {2400u, 14400u, 57600u, 76800u, 230400u}) {
        platform::LineSettings line;
        ASSERT_TRUE(port->GetLine(line));
        line.baudRate = speed;
        line.byteSize = 8;
        line.parity = 0;
        line.stopBits = 0;
        ASSERT_TRUE(port->SetLine(line)) << speed;
        platform::LineSettings back;
        ASSERT_TRUE(port->GetLine(back));
        EXPECT_EQ(speed, back.baudRate);
        EXPECT_EQ(8, back.byteSize);
        EXPECT_EQ(0, back.parity);
        EXPECT_EQ(0, back.stopBits);
    }
}

TEST_F(PosixSerialPortTest, LineWithoutErrorCountersReportsNoErrors) {
    uint32_t errors = 99;
    EXPECT_TRUE(port->ClearErrors(errors));
    EXPECT_EQ(0u, errors);
}

TEST_F(PosixSerialPortTest, TimeoutsReadBackAsSet) {
    SetReadLimits(100, 10, 1000);
    platform::Timeouts t;
    ASSERT_TRUE(port->GetTimeouts(t));
    EXPECT_EQ(100u, t.readInterval);
    EXPECT_EQ(10u, t.readTotalMultiplier);
    EXPECT_EQ(1000u, t.readTotalConstant);
}

TEST_F(PosixSerialPortTest, WriteIntoALineThatTakesNoBytesEndsShortAtItsLimit) {
    FillTheLine();
    SetWriteLimits(20, 20); // Pollbench: 20 ms + 20 ms a byte
    size_t written = 99;
    bool ok = false;
    const long elapsed = TimedWrite(10, written, ok);
    EXPECT_TRUE(ok); // a write that ran out of time is short, not failed
    EXPECT_EQ(0u, written);
    EXPECT_GE(elapsed, 215);
    EXPECT_LT(elapsed, 1500);
}

TEST_F(PosixSerialPortTest, PeerThatStopsTakingBytesLeavesTheWriteShort) {
    FillTheLine();
    constexpr size_t kTaken = 64 * 1024;
    std::atomic<size_t> taken{0};
    peer = std::thread([&] { taken = ReadMaster(pty.MasterFd(), kTaken).size(); });
    SetWriteLimits(0, 600);
    size_t written = 0;
    bool ok = false;
    const long elapsed = TimedWrite(1 << 20, written, ok);
    peer.join();
    EXPECT_TRUE(ok);
    EXPECT_EQ(kTaken, taken.load());
    EXPECT_GT(written, 0u); // what the peer made room for went out
    EXPECT_LT(written, size_t{1} << 20);
    EXPECT_GE(elapsed, 590);
}

TEST_F(PosixSerialPortTest, WriteWithoutLimitWaitsUntilTheProgramStopsItsWaits) {
    FillTheLine();
    SetWriteLimits(0, 0); // Ducat: writes have no limit
    // As the consoles do it: Ctrl+C lands in a handler that stops the waits,
    // and poll() in the writing thread sees EINTR.
    struct sigaction action{};
    action.sa_handler = [](int) { platform::StopSerialWaits(); };
    struct sigaction old{};
    ASSERT_EQ(0, ::sigaction(SIGUSR1, &action, &old));
    const pthread_t writer = ::pthread_self();
    peer = std::thread([writer] {
        Sleep(400);
        ::pthread_kill(writer, SIGUSR1);
    });
    size_t written = 99;
    bool ok = true;
    const long elapsed = TimedWrite(10, written, ok);
    peer.join();
    ::sigaction(SIGUSR1, &old, nullptr);
    platform::ResumeSerialWaitsForTesting();
    EXPECT_FALSE(ok);
    EXPECT_EQ(static_cast<uint32_t>(EINTR), port->LastError());
    EXPECT_EQ(0u, written);
    EXPECT_GE(elapsed, 390); // it did wait for the line until then
    EXPECT_LT(elapsed, 2000);
}

TEST_F(PosixSerialPortTest, StoppedWaitsLeaveLimitedOnesAlone) {
    platform::StopSerialWaits();
    SetReadLimits(0, 0, 150);
    uint8_t buffer[4];
    size_t got = 99;
    const bool ok = port->Read(buffer, 4, got);
    platform::ResumeSerialWaitsForTesting();
    EXPECT_TRUE(ok);
    EXPECT_EQ(0u, got);
}

TEST_F(PosixSerialPortTest, HangUpEndsAReadAtOnceAsAFailureWithoutSpinning) {
    SetReadLimits(100, 10, 5000);
    peer = std::thread([this] {
        Sleep(100);
        pty.HangUp();
    });
    uint8_t buffer[10];
    size_t got = 0;
    const long cpuBefore = ThreadCpuMilliseconds();
    const auto start = Clock::now();
    EXPECT_FALSE(port->Read(buffer, sizeof buffer, got));
    const long elapsed = MillisecondsSince(start);
    EXPECT_EQ(static_cast<uint32_t>(EIO), port->LastError());
    EXPECT_LT(elapsed, 2000); // the limit was 5100 ms
    EXPECT_LT(ThreadCpuMilliseconds() - cpuBefore, 200);
    // Every later call fails at once too.
    const auto again = Clock::now();
    EXPECT_FALSE(port->Read(buffer, sizeof buffer, got));
    size_t written = 0;
    EXPECT_FALSE(port->Write(buffer, 3, written));
    EXPECT_LT(MillisecondsSince(again), 500);
}

TEST_F(PosixSerialPortTest, PortThatGoesAwayIsFoundAgainUnderItsNameWhenItComesBack) {
    const std::string name = ::testing::TempDir() + "serial-comes-back-" + std::to_string(::getpid());
    ASSERT_TRUE(port->Close());
    ASSERT_TRUE(pty.LinkAs(name));
    uint32_t error = 0;
    port = platform::OpenSerialPort(name, error);
    ASSERT_NE(nullptr, port);
    pty.HangUp();
    size_t written = 0;
    const uint8_t frame[] = {2, 0, 1, 254, 255};
    EXPECT_FALSE(port->Write(frame, sizeof frame, written));
    ASSERT_TRUE(port->Close());
    EXPECT_EQ(nullptr, platform::OpenSerialPort(name, error));
    EXPECT_EQ(static_cast<uint32_t>(ENOENT), error);

    sim::PtyPair back;
    ASSERT_TRUE(back.Ok());
    ASSERT_TRUE(back.LinkAs(name));
    port = platform::OpenSerialPort(name, error);
    ASSERT_NE(nullptr, port) << error;
    ASSERT_TRUE(port->Write(frame, sizeof frame, written));
    EXPECT_EQ((std::vector<uint8_t>(frame, frame + sizeof frame)), ReadMaster(back.MasterFd(), sizeof frame));
}

// Sets the pty's terminal as a fresh Linux terminal is, while no port holds it.
void MakeCooked(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    termios t{};
    ASSERT_EQ(0, ::tcgetattr(fd, &t));
    t.c_iflag |= ICRNL | INLCR | IXON | IXOFF | IXANY;
    t.c_oflag |= OPOST | ONLCR;
    t.c_lflag |= ICANON | ECHO | ISIG | IEXTEN;
    t.c_cc[VSTART] = 0x01;
    t.c_cc[VSTOP] = 0x02;
    ASSERT_EQ(0, ::tcsetattr(fd, TCSANOW, &t));
    ::close(fd);
}

termios TerminalOf(const std::string& path) {
    termios t{};
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(0, ::tcgetattr(fd, &t));
    ::close(fd);
    return t;
}

TEST_F(PosixSerialPortTest, BytesPassUnchangedOnACookedTerminalWithXonXoffSetUp) {
    ASSERT_TRUE(port->Close());
    MakeCooked(pty.SlavePath());
    uint32_t error = 0;
    port = platform::OpenSerialPort(pty.SlavePath(), error);
    ASSERT_NE(nullptr, port);
    platform::LineSettings line;
    ASSERT_TRUE(port->GetLine(line));
    line.baudRate = 9600;
    ASSERT_TRUE(port->SetLine(line));
    SetReadLimits(100, 10, 1000);

    // CR, LF, Ctrl+C, DEL, Ctrl+Z, Ctrl+D, XON, XOFF and the terminal's own
    // start and stop keys: a terminal would translate, echo, signal, hold
    // them back for a line or take them as flow control.
    const std::vector<uint8_t> in = {0x0D, 0x0A, 0x03, 0x7F, 0x1A, 0x04, 0xFF, 0x11, 0x13, 0x01, 0x02};
    WriteAll(pty.MasterFd(), in);
    uint8_t buffer[11] = {};
    size_t got = 0;
    ASSERT_TRUE(port->Read(buffer, sizeof buffer, got));
    EXPECT_EQ(in, std::vector<uint8_t>(buffer, buffer + got));
    const uint8_t out[] = {0x0A, 0x0D, 0x09};
    size_t written = 0;
    ASSERT_TRUE(port->Write(out, sizeof out, written));
    EXPECT_EQ((std::vector<uint8_t>(out, out + sizeof out)), ReadMaster(pty.MasterFd(), 10, 200)); // no echo

    ASSERT_TRUE(port->Close());
    const termios t = TerminalOf(pty.SlavePath());
    EXPECT_EQ(0u, t.c_iflag & (IXON | IXOFF | IXANY));
    EXPECT_EQ(0x01, t.c_cc[VSTART]);
    EXPECT_EQ(0x02, t.c_cc[VSTOP]);
    EXPECT_EQ(0u, t.c_iflag & (ICRNL | INLCR));
    EXPECT_EQ(0u, t.c_lflag & (ICANON | ECHO | ISIG));
    EXPECT_EQ(B9600, ::cfgetospeed(&t));
}

TEST_F(PosixSerialPortTest, SettingsTheLineCannotCarryAreRefusedWithoutAChange) {
    platform::LineSettings line;
    ASSERT_TRUE(port->GetLine(line));
    platform::LineSettings bad = line;
    bad.stopBits = 1;
    EXPECT_FALSE(port->SetLine(bad));
    EXPECT_EQ(static_cast<uint32_t>(EINVAL), port->LastError());
    bad = line;
    bad.dsrOutputFlow = true;
    EXPECT_FALSE(port->SetLine(bad));
    platform::LineSettings back;
    ASSERT_TRUE(port->GetLine(back));
    EXPECT_EQ(line.baudRate, back.baudRate);
    EXPECT_EQ(line.stopBits, back.stopBits);
    EXPECT_FALSE(back.dsrOutputFlow);
}

} // namespace
