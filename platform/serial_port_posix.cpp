// Serial port over termios, keeping the Windows read-timeout rules.
#include "platform/serial_port.h"

#include "platform/serial_baud_linux.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
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

using Clock = std::chrono::steady_clock;

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

// Milliseconds from now until `deadline`, rounded up, at least 0.
int MillisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()).count();
    if (left <= 0) return 0;
    return static_cast<int>((left + 999) / 1000);
}

class PosixSerialPort final : public SerialPort {
public:
    explicit PosixSerialPort(int fd) : fd_(fd) { readErrorCounts(counts_); }
    ~PosixSerialPort() override { close(); }

    bool getLine(LineSettings& s) override {
        termios t{};
        if (tcgetattr(fd_, &t) != 0) return fail();
        uint32_t bits = SpeedBits(cfgetospeed(&t));
        if (bits == 0) bits = customBaud_;
        s.baudRate = bits;
        switch (t.c_cflag & CSIZE) {
        case CS5: s.byteSize = 5; break;
        case CS6: s.byteSize = 6; break;
        case CS7: s.byteSize = 7; break;
        default: s.byteSize = 8; break;
        }
        s.parity = (t.c_cflag & PARENB) ? ((t.c_cflag & PARODD) ? 1 : 2) : 0;
        s.stopBits = (t.c_cflag & CSTOPB) ? 2 : 0;
        s.parityCheck = (t.c_iflag & INPCK) != 0;
        s.ctsOutputFlow = (t.c_cflag & CRTSCTS) != 0;
        s.dsrOutputFlow = false;
        s.dtrControl = dtrControl_;
        s.rtsControl = (t.c_cflag & CRTSCTS) ? 2 : rtsControl_;
        s.errorCharReplace = false;
        return true;
    }

    bool setLine(const LineSettings& s) override {
        termios t{};
        if (tcgetattr(fd_, &t) != 0) return fail();
        cfmakeraw(&t);
        t.c_cflag |= CLOCAL | CREAD;
        t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
        switch (s.byteSize) {
        case 5: t.c_cflag |= CS5; break;
        case 6: t.c_cflag |= CS6; break;
        case 7: t.c_cflag |= CS7; break;
        default: t.c_cflag |= CS8; break;
        }
        if (s.parity == 1) t.c_cflag |= PARENB | PARODD;
        if (s.parity == 2) t.c_cflag |= PARENB;
        if (s.stopBits != 0) t.c_cflag |= CSTOPB;
        if (s.parityCheck) t.c_iflag |= INPCK;
        if (s.ctsOutputFlow || s.rtsControl == 2) t.c_cflag |= CRTSCTS;
        // Reads are timed by poll(), never by the driver.
        t.c_cc[VMIN] = 0;
        t.c_cc[VTIME] = 0;
        speed_t code{};
        const bool standard = StandardSpeedCode(s.baudRate, code);
        if (standard) {
            cfsetispeed(&t, code);
            cfsetospeed(&t, code);
        }
        if (tcsetattr(fd_, TCSANOW, &t) != 0) return fail();
        if (!standard) {
            if (!SetCustomBaud(fd_, s.baudRate)) return fail();
            customBaud_ = s.baudRate;
        }
        dtrControl_ = s.dtrControl;
        rtsControl_ = s.rtsControl;
        applyModemLines();
        return true;
    }

    bool getTimeouts(Timeouts& t) override {
        t = timeouts_;
        return true;
    }

    bool setTimeouts(const Timeouts& t) override {
        timeouts_ = t;
        return true;
    }

    bool purge(uint32_t flags) override {
        const bool rx = (flags & (kPurgeRxAbort | kPurgeRxClear)) != 0;
        const bool tx = (flags & (kPurgeTxAbort | kPurgeTxClear)) != 0;
        if (rx && tx) return tcflush(fd_, TCIOFLUSH) == 0 || fail();
        if (rx) return tcflush(fd_, TCIFLUSH) == 0 || fail();
        if (tx) return tcflush(fd_, TCOFLUSH) == 0 || fail();
        return true;
    }

    bool clearErrors(uint32_t& errors) override {
        errors = 0;
        ErrorCounts now{};
        if (!readErrorCounts(now)) return true; // a pty or a driver without counters
        if (now.frame != counts_.frame) errors |= kLineErrorFrame;
        if (now.overrun != counts_.overrun) errors |= kLineErrorOverrun;
        if (now.parity != counts_.parity) errors |= kLineErrorParity;
        if (now.brk != counts_.brk) errors |= kLineErrorBreak;
        counts_ = now;
        return true;
    }

    bool read(void* buffer, size_t n, size_t& got) override {
        got = 0;
        if (n == 0) return true;
        auto* out = static_cast<unsigned char*>(buffer);
        const bool totalLimit = timeouts_.readTotalConstant != 0 || timeouts_.readTotalMultiplier != 0;
        const auto start = Clock::now();
        const auto totalDeadline =
            start + std::chrono::milliseconds(static_cast<uint64_t>(timeouts_.readTotalConstant) +
                                              static_cast<uint64_t>(timeouts_.readTotalMultiplier) * n);
        Clock::time_point lastByte{};
        while (got < n) {
            int wait = -1;
            if (totalLimit) wait = MillisecondsUntil(totalDeadline);
            if (got > 0 && timeouts_.readInterval != 0) {
                const int gap = MillisecondsUntil(lastByte + std::chrono::milliseconds(timeouts_.readInterval));
                wait = (wait < 0) ? gap : std::min(wait, gap);
            }
            if (wait == 0) break;
            pollfd p{fd_, POLLIN, 0};
            const int ready = ::poll(&p, 1, wait);
            if (ready < 0) {
                if (errno == EINTR) continue;
                return fail();
            }
            if (ready == 0) continue; // the loop re-checks the limits
            if ((p.revents & POLLIN) == 0) {
                // Hang-up or error with nothing to read: the line is gone.
                lastError_ = EIO;
                return false;
            }
            const ssize_t r = ::read(fd_, out + got, n - got);
            if (r < 0) {
                if (errno == EAGAIN || errno == EINTR) continue;
                return fail();
            }
            if (r == 0) continue;
            got += static_cast<size_t>(r);
            lastByte = Clock::now();
        }
        return true;
    }

    bool write(const void* buffer, size_t n, size_t& written) override {
        written = 0;
        const auto* in = static_cast<const unsigned char*>(buffer);
        while (written < n) {
            const ssize_t w = ::write(fd_, in + written, n - written);
            if (w < 0) {
                if (errno == EINTR) continue;
                if (errno == EAGAIN) {
                    pollfd p{fd_, POLLOUT, 0};
                    if (::poll(&p, 1, -1) < 0 && errno != EINTR) return fail();
                    continue;
                }
                return fail();
            }
            written += static_cast<size_t>(w);
        }
        return true;
    }

    bool close() override {
        if (fd_ < 0) return true;
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 || fail();
    }

    bool isOpen() const override { return fd_ >= 0; }
    uint32_t lastError() const override { return lastError_; }

private:
    struct ErrorCounts {
        int frame = 0, overrun = 0, parity = 0, brk = 0;
    };

    bool readErrorCounts(ErrorCounts& c) const {
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

    void applyModemLines() {
        int lines = 0;
        if (ioctl(fd_, TIOCMGET, &lines) != 0) return; // a pty has no modem lines
        lines = (dtrControl_ == 0) ? (lines & ~TIOCM_DTR) : (lines | TIOCM_DTR);
        if (rtsControl_ == 0) lines &= ~TIOCM_RTS;
        if (rtsControl_ == 1) lines |= TIOCM_RTS;
        (void)ioctl(fd_, TIOCMSET, &lines);
    }

    bool fail() {
        lastError_ = static_cast<uint32_t>(errno);
        return false;
    }

    int fd_;
    uint32_t lastError_ = 0;
    uint32_t customBaud_ = 0;
    uint8_t dtrControl_ = 1;
    uint8_t rtsControl_ = 1;
    Timeouts timeouts_{};
    ErrorCounts counts_{};
};

} // namespace

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
    (void)ioctl(fd, TIOCEXCL);
    return std::make_unique<PosixSerialPort>(fd);
}

} // namespace platform
