// Serial port over termios, keeping the Windows timeout rules.
#include "platform/serial_port.h"

#include "platform/deadline.h"
#include "platform/serial_baud_linux.h"
#include "platform/serial_line_posix.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#if defined(__linux__)
#include <linux/serial.h>
#endif

namespace platform {
namespace {

// A wait without limit wakes this often to see whether the program asked
// its waits to stop (a signal may land on another thread).
constexpr int kStopCheckMs = 100;

std::atomic<bool> g_waitsStopped{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

struct StandardSpeed {
    uint32_t bits;
    speed_t code;
};

constexpr StandardSpeed kStandardSpeeds[] = {
    {1200, B1200},   {2400, B2400},   {4800, B4800},     {9600, B9600},
    {19200, B19200}, {38400, B38400}, {57600, B57600},   {115200, B115200},
    {230400, B230400},
};

bool StandardSpeedCode(uint32_t bits, speed_t& code) {
    for (const auto& s : kStandardSpeeds) {
        if (s.bits == bits) {
            code = s.code;
            return true;
        }
    }
    return false;
}

uint32_t SpeedBits(speed_t code) {
    for (const auto& s : kStandardSpeeds) {
        if (s.code == code) return s.bits;
    }
    return 0;
}

enum class Wait { Ready, TimedOut, Failed };

class PosixSerialPort final : public SerialPort {
public:
    explicit PosixSerialPort(int fd) : fd_(fd) { haveCounts_ = ReadErrorCounts(counts_); }
    ~PosixSerialPort() override { Close(); }

    bool GetLine(LineSettings& s) override {
        termios t{};
        if (tcgetattr(fd_, &t) != 0) return Fail();
        uint32_t bits = SpeedBits(cfgetospeed(&t));
        if (bits == 0) bits = customBaud_;
        s.baudRate = bits;
        ReadLineSettings(t, s);
        int lines = 0;
        const bool haveLines = ioctl(fd_, TIOCMGET, &lines) == 0; // a pty has no modem lines
        s.dtrControl = haveLines ? ((lines & TIOCM_DTR) ? kControlEnable : kControlDisable) : dtrControl_;
        if (s.ctsOutputFlow) {
            s.rtsControl = kControlHandshake;
        } else {
            s.rtsControl = haveLines ? ((lines & TIOCM_RTS) ? kControlEnable : kControlDisable) : rtsControl_;
        }
        return true;
    }

    bool SetLine(const LineSettings& s) override {
        termios t{};
        if (tcgetattr(fd_, &t) != 0) return Fail();
        if (!ApplyLineSettings(s, t)) {
            lastError_ = EINVAL;
            return false;
        }
        speed_t code{};
        const bool standard = StandardSpeedCode(s.baudRate, code);
        if (standard) {
            cfsetispeed(&t, code);
            cfsetospeed(&t, code);
        }
        if (tcsetattr(fd_, TCSANOW, &t) != 0) return Fail();
        if (!standard) {
            if (!SetCustomBaud(fd_, s.baudRate)) return Fail();
            customBaud_ = s.baudRate;
        }
        dtrControl_ = s.dtrControl;
        rtsControl_ = s.rtsControl;
        ApplyModemLines();
        return true;
    }

    bool GetTimeouts(Timeouts& t) override {
        t = timeouts_;
        return true;
    }

    bool SetTimeouts(const Timeouts& t) override {
        timeouts_ = t;
        return true;
    }

    bool Purge(uint32_t flags) override {
        const bool rx = (flags & (kPurgeRxAbort | kPurgeRxClear)) != 0;
        const bool tx = (flags & (kPurgeTxAbort | kPurgeTxClear)) != 0;
        if (rx && tx) return tcflush(fd_, TCIOFLUSH) == 0 || Fail();
        if (rx) return tcflush(fd_, TCIFLUSH) == 0 || Fail();
        if (tx) return tcflush(fd_, TCOFLUSH) == 0 || Fail();
        return true;
    }

    bool ClearErrors(uint32_t& errors) override {
        errors = 0;
        LineErrorCounts now{};
        if (!ReadErrorCounts(now)) return true; // a pty or a driver without counters
        if (haveCounts_) errors = LineErrorsBetween(counts_, now);
        counts_ = now;
        haveCounts_ = true;
        return true;
    }

    bool Read(void* buffer, size_t n, size_t& got) override {
        got = 0;
        if (n == 0) return true;
        auto* out = static_cast<unsigned char*>(buffer);
        const Deadline total = Deadline::ForTotal(timeouts_.readTotalConstant, timeouts_.readTotalMultiplier, n);
        Deadline gap = Deadline::Never(); // no gap limit before the first byte
        while (got < n) {
            const Wait wait = WaitFor(POLLIN, Deadline::Earlier(total, gap));
            if (wait == Wait::TimedOut) break;
            if (wait == Wait::Failed) return false;
            const ssize_t r = ::read(fd_, out + got, n - got);
            if (r < 0) {
                if (errno == EAGAIN || errno == EINTR) continue;
                return Fail();
            }
            // Readable and yet no byte: the other side hung up.
            if (r == 0) return LineGone();
            got += static_cast<size_t>(r);
            if (timeouts_.readInterval != 0) gap = Deadline::After(timeouts_.readInterval);
        }
        return true;
    }

    bool Write(const void* buffer, size_t n, size_t& written) override {
        written = 0;
        const auto* in = static_cast<const unsigned char*>(buffer);
        const Deadline limit = Deadline::ForTotal(timeouts_.writeTotalConstant, timeouts_.writeTotalMultiplier, n);
        while (written < n) {
            const ssize_t w = ::write(fd_, in + written, n - written);
            if (w > 0) {
                written += static_cast<size_t>(w);
                continue;
            }
            if (w < 0 && errno != EAGAIN && errno != EINTR) return Fail();
            const Wait wait = WaitFor(POLLOUT, limit);
            if (wait == Wait::TimedOut) break; // the line took fewer bytes
            if (wait == Wait::Failed) return false;
        }
        return true;
    }

    bool Close() override {
        if (fd_ < 0) return true;
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 || Fail();
    }

    bool IsOpen() const override { return fd_ >= 0; }
    uint32_t LastError() const override { return lastError_; }

private:
    // Waits until the line is ready for `events` or `deadline` passes. A
    // hang-up, a line error or a stop of the program's waits fails the wait.
    Wait WaitFor(short events, const Deadline& deadline) {
        for (;;) {
            if (deadline.Passed()) return Wait::TimedOut;
            if (!deadline.Limited() && g_waitsStopped.load()) {
                lastError_ = EINTR;
                return Wait::Failed;
            }
            const int ms = deadline.Limited() ? deadline.PollMilliseconds() : kStopCheckMs;
            pollfd p{fd_, events, 0};
            const int ready = ::poll(&p, 1, ms);
            if (ready < 0) {
                if (errno == EINTR) continue; // the loop re-checks the limit and the stop
                Fail();
                return Wait::Failed;
            }
            if (ready == 0) continue;
            if ((p.revents & (POLLERR | POLLNVAL)) != 0) break;
            if ((p.revents & events) != 0) return Wait::Ready;
            if ((p.revents & POLLHUP) != 0) break;
        }
        LineGone();
        return Wait::Failed;
    }

    bool LineGone() {
        lastError_ = EIO;
        return false;
    }

    bool ReadErrorCounts(LineErrorCounts& c) const {
#if defined(__linux__) && defined(TIOCGICOUNT)
        serial_icounter_struct ic{};
        if (ioctl(fd_, TIOCGICOUNT, &ic) != 0) return false;
        c.frame = ic.frame;
        c.overrun = ic.overrun + ic.buf_overrun;
        c.parity = ic.parity;
        c.brk = ic.brk;
        return true;
#else
        (void)c;
        return false;
#endif
    }

    void ApplyModemLines() {
        int lines = 0;
        if (ioctl(fd_, TIOCMGET, &lines) != 0) return; // a pty has no modem lines
        lines = (dtrControl_ == kControlDisable) ? (lines & ~TIOCM_DTR) : (lines | TIOCM_DTR);
        if (rtsControl_ == kControlDisable) lines &= ~TIOCM_RTS;
        if (rtsControl_ == kControlEnable) lines |= TIOCM_RTS;
        (void)ioctl(fd_, TIOCMSET, &lines);
    }

    bool Fail() {
        lastError_ = static_cast<uint32_t>(errno);
        return false;
    }

    int fd_;
    uint32_t lastError_ = 0;
    uint32_t customBaud_ = 0;
    uint8_t dtrControl_ = kControlEnable;
    uint8_t rtsControl_ = kControlEnable;
    Timeouts timeouts_{};
    LineErrorCounts counts_{};
    bool haveCounts_ = false;
};

} // namespace

void StopSerialWaits() { g_waitsStopped.store(true); }

void ResumeSerialWaitsForTesting() { g_waitsStopped.store(false); }

std::unique_ptr<SerialPort> OpenSerialPort(const std::string& name, uint32_t& error) {
    error = 0;
    const int fd = ::open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = static_cast<uint32_t>(errno);
        return nullptr;
    }
    // No sharing: a second opener, in this or another program, is refused.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        error = static_cast<uint32_t>(errno == EWOULDBLOCK ? EBUSY : errno);
        ::close(fd);
        return nullptr;
    }
    termios t{};
    if (tcgetattr(fd, &t) != 0) {
        error = static_cast<uint32_t>(errno);
        ::close(fd);
        return nullptr;
    }
    MakeBinary(t);
    if (tcsetattr(fd, TCSANOW, &t) != 0) {
        error = static_cast<uint32_t>(errno);
        ::close(fd);
        return nullptr;
    }
    (void)ioctl(fd, TIOCEXCL);
    return std::make_unique<PosixSerialPort>(fd);
}

} // namespace platform
