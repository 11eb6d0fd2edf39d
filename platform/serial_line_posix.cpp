#include "platform/serial_line_posix.h"

namespace platform {
namespace {

#if defined(CMSPAR)
constexpr tcflag_t kStickParity = CMSPAR;
#else
constexpr tcflag_t kStickParity = 0; // mark and space parity are refused
#endif

bool SizeFlag(uint8_t byteSize, tcflag_t& flag) {
    switch (byteSize) {
    case 5: flag = CS5; return true;
    case 6: flag = CS6; return true;
    case 7: flag = CS7; return true;
    case 8: flag = CS8; return true;
    default: return false;
    }
}

bool ParityFlags(uint8_t parity, tcflag_t& flags) {
    switch (parity) {
    case kParityNone: flags = 0; return true;
    case kParityOdd: flags = PARENB | PARODD; return true;
    case kParityEven: flags = PARENB; return true;
    case kParityMark: flags = PARENB | PARODD | kStickParity; return kStickParity != 0;
    case kParitySpace: flags = PARENB | kStickParity; return kStickParity != 0;
    default: return false;
    }
}

uint8_t ParityOf(tcflag_t cflag) {
    if ((cflag & PARENB) == 0) return kParityNone;
    const bool odd = (cflag & PARODD) != 0;
    if (kStickParity != 0 && (cflag & kStickParity) != 0) return odd ? kParityMark : kParitySpace;
    return odd ? kParityOdd : kParityEven;
}

} // namespace

void MakeBinary(termios& t) {
    // IXON is a terminal's default, not a serial line's: left on it would take
    // every 0x11 and 0x13 out of the acceptor's binary frames.
    tcflag_t input = IGNCR | ICRNL | INLCR | ISTRIP | PARMRK | IMAXBEL | IXON | IXOFF | IXANY;
#if defined(IUCLC)
    input |= IUCLC;
#endif
    t.c_iflag &= ~input;
    t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    t.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ECHOE | ECHOK | ECHONL | ISIG | IEXTEN);
    t.c_cflag |= CREAD | CLOCAL;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
}

bool ApplyLineSettings(const LineSettings& s, termios& t) {
    tcflag_t size = 0;
    tcflag_t parity = 0;
    if (!SizeFlag(s.byteSize, size) || !ParityFlags(s.parity, parity)) return false;
    if (s.stopBits != kOneStopBit && s.stopBits != kTwoStopBits) return false;
    // termios has no DSR flow and no error-character replacement.
    if (s.dsrOutputFlow || s.errorCharReplace) return false;
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | kStickParity | CSTOPB | CRTSCTS);
    t.c_cflag |= size | parity;
    if (s.stopBits == kTwoStopBits) t.c_cflag |= CSTOPB;
    // CTS output flow and the RTS handshake are one flag here.
    if (s.ctsOutputFlow || s.rtsControl == kControlHandshake) t.c_cflag |= CRTSCTS;
    if (s.parityCheck) {
        t.c_iflag |= INPCK;
    } else {
        t.c_iflag &= ~static_cast<tcflag_t>(INPCK);
    }
    return true;
}

void ReadLineSettings(const termios& t, LineSettings& s) {
    switch (t.c_cflag & CSIZE) {
    case CS5: s.byteSize = 5; break;
    case CS6: s.byteSize = 6; break;
    case CS7: s.byteSize = 7; break;
    default: s.byteSize = 8; break;
    }
    s.parity = ParityOf(t.c_cflag);
    s.stopBits = (t.c_cflag & CSTOPB) ? kTwoStopBits : kOneStopBit;
    s.parityCheck = (t.c_iflag & INPCK) != 0;
    s.ctsOutputFlow = (t.c_cflag & CRTSCTS) != 0;
    s.dsrOutputFlow = false;
    s.errorCharReplace = false;
}

uint32_t LineErrorsBetween(const LineErrorCounts& before, const LineErrorCounts& after) {
    uint32_t errors = 0;
    if (after.frame != before.frame) errors |= kLineErrorFrame;
    if (after.overrun != before.overrun) errors |= kLineErrorOverrun;
    if (after.parity != before.parity) errors |= kLineErrorParity;
    if (after.brk != before.brk) errors |= kLineErrorBreak;
    return errors;
}

} // namespace platform
