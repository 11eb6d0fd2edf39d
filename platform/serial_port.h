// One serial port, as both programs see it: the operations of the Windows
// communications API that they use, with the same timeout rules on every OS.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// Line settings the programs read and change. SetLine writes these fields
// and keeps every other driver setting as the port holds it; what each side
// makes of each field:
//   baudRate          both; POSIX speeds without a termios constant go
//                     through termios2.
//   byteSize          both, 5 to 8; POSIX refuses other values.
//   parity            0 none, 1 odd, 2 even, 3 mark, 4 space on both; POSIX
//                     has mark and space only where termios has CMSPAR
//                     (Linux) and refuses them elsewhere.
//   stopBits          0 one, 2 two on both; 1 (one and a half) Windows only,
//                     POSIX refuses it.
//   parityCheck       both (fParity; INPCK).
//   ctsOutputFlow     both (fOutxCtsFlow; CRTSCTS). On POSIX CTS flow and the
//                     RTS handshake are one flag: either sets both, and
//                     GetLine then reports both.
//   dsrOutputFlow     Windows only; POSIX reports false and refuses true.
//   dtrControl        0 disable, 1 enable, 2 handshake on Windows; POSIX
//                     lowers DTR for 0 and raises it otherwise.
//   rtsControl        0 disable, 1 enable, 2 handshake, 3 toggle on Windows;
//                     POSIX lowers RTS for 0, raises it for 1, hands it to
//                     CRTSCTS for 2 and leaves it alone for 3.
//   errorCharReplace  Windows only; POSIX reports false and refuses true.
// A refused value fails SetLine with EINVAL and changes nothing. On POSIX,
// GetLine reads DTR and RTS from the modem lines (a pty has none: it gives
// back the values last set).
// Kept as found: on Windows every other field of the device control block
// (XON/XOFF flow and characters, fBinary, fNull, fAbortOnError...); on POSIX
// every other termios flag, among them the XON/XOFF characters, break
// handling (IGNBRK, BRKINT), IGNPAR and HUPCL.
// Opening a POSIX port makes it binary, as a Windows port always is: no
// line editing, echo, signal keys, CR/NL translation, eighth-bit stripping,
// parity marking or output processing, no wait for carrier, and no XON/XOFF
// flow (a Linux terminal starts with IXON on, which would take the bytes
// 0x11 and 0x13 out of every frame); SetLine keeps the flow GetLine reports.
// The coded values of the fields below, as Windows codes them.
constexpr uint8_t kEightDataBits = 8;
constexpr uint8_t kParityNone = 0;
constexpr uint8_t kParityOdd = 1;
constexpr uint8_t kParityEven = 2;
constexpr uint8_t kParityMark = 3;
constexpr uint8_t kParitySpace = 4;
constexpr uint8_t kOneStopBit = 0;
constexpr uint8_t kTwoStopBits = 2;
constexpr uint8_t kControlDisable = 0;
constexpr uint8_t kControlEnable = 1;
constexpr uint8_t kControlHandshake = 2;

struct LineSettings {
    uint32_t baudRate = 9600;
    uint8_t byteSize = kEightDataBits;
    uint8_t parity = kParityNone;
    uint8_t stopBits = kOneStopBit;
    bool parityCheck = false;
    bool ctsOutputFlow = false;
    bool dsrOutputFlow = false;
    uint8_t dtrControl = kControlDisable; // or enable, handshake
    uint8_t rtsControl = kControlDisable; // or enable, handshake, 3 = toggle
    bool errorCharReplace = false;
};

// Read and write limits in milliseconds, with the Windows meaning, on both
// sides: a read ends when its bytes are in, when the gap after a byte
// exceeds readInterval (0 = no gap limit), or when readTotalConstant +
// readTotalMultiplier x bytes asked has passed (both 0 = no total limit);
// it then succeeds with the bytes that came. A write ends when the driver
// has taken all its bytes or when writeTotalConstant +
// writeTotalMultiplier x bytes has passed (both 0 = no limit); it then
// succeeds with the count the line took.
struct Timeouts {
    uint32_t readInterval = 0;
    uint32_t readTotalMultiplier = 0;
    uint32_t readTotalConstant = 0;
    uint32_t writeTotalMultiplier = 0;
    uint32_t writeTotalConstant = 0;
};

// Purge flags, as PurgeComm takes them.
enum PurgeFlags : uint32_t {
    kPurgeTxAbort = 0x0001,
    kPurgeRxAbort = 0x0002,
    kPurgeTxClear = 0x0004,
    kPurgeRxClear = 0x0008,
};

// Line error bits, as ClearCommError reports them. POSIX takes them from
// the driver's counters (TIOCGICOUNT) where the driver keeps them, as the
// UART and USB serial drivers of Linux do; a pty keeps none and never
// reports an error.
enum LineErrorBits : uint32_t {
    kLineErrorOverrun = 0x0002,
    kLineErrorParity = 0x0004,
    kLineErrorFrame = 0x0008,
    kLineErrorBreak = 0x0010,
};

class SerialPort {
public:
    virtual ~SerialPort() = default;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Each call returns false on failure; LastError() then holds the OS code.
    virtual bool GetLine(LineSettings& settings) = 0;
    virtual bool SetLine(const LineSettings& settings) = 0;
    virtual bool GetTimeouts(Timeouts& timeouts) = 0;
    virtual bool SetTimeouts(const Timeouts& timeouts) = 0;
    virtual bool Purge(uint32_t flags) = 0;
    // Reports the line errors seen since the last call and resets them.
    virtual bool ClearErrors(uint32_t& errors) = 0;
    // One synchronous read of up to n bytes under the port's timeouts;
    // `got` says how many came. A line that is gone (hang-up, device
    // unplugged) fails the read at once, keeping the bytes that came.
    virtual bool Read(void* buffer, size_t n, size_t& got) = 0;
    // One synchronous write under the port's timeouts; `written` says how
    // many bytes the line took. A line that is gone fails it at once.
    virtual bool Write(const void* buffer, size_t n, size_t& written) = 0;
    // Closes the OS handle. A port that fails to close stays usable.
    virtual bool Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual uint32_t LastError() const = 0;

protected:
    SerialPort() = default;
};

// The program is ending: every serial wait without a time limit, now and
// later, fails at once (EINTR; ERROR_OPERATION_ABORTED on Windows). On POSIX
// waits with a limit run to it; on Windows a call already waiting is
// cancelled. Safe in a signal handler. A console calls it on Ctrl+C, so that
// a write into a line that takes no bytes cannot hold it.
void StopSerialWaits();
void ResumeSerialWaitsForTesting();

// Opens a port by device name for exclusive reading and writing.
// On failure returns null and puts the OS error code into `error`.
std::unique_ptr<SerialPort> OpenSerialPort(const std::string& name, uint32_t& error);

} // namespace platform
