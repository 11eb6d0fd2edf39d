// One serial port, as both programs see it: the operations of the Windows
// communications API that they use, with the same timeout rules on every OS.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// Line settings the programs read and change. A port keeps every other
// driver setting as it found it when these are written back.
struct LineSettings {
    uint32_t baudRate = 9600;
    uint8_t byteSize = 8;
    uint8_t parity = 0;     // 0 = none
    uint8_t stopBits = 0;   // 0 = one stop bit
    bool parityCheck = false;
    bool ctsOutputFlow = false;
    bool dsrOutputFlow = false;
    uint8_t dtrControl = 0; // 0 = disable, 1 = enable, 2 = handshake
    uint8_t rtsControl = 0; // 0 = disable, 1 = enable, 2 = handshake, 3 = toggle
    bool errorCharReplace = false;
};

// Read and write limits in milliseconds, with the Windows meaning:
// a read ends when its bytes are in, when the gap between two bytes exceeds
// readInterval (0 = no gap limit), or when readTotalConstant +
// readTotalMultiplier x bytes asked has passed (both 0 = no total limit).
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

// Line error bits, as ClearCommError reports them.
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

    // Each call returns false on failure; lastError() then holds the OS code.
    virtual bool getLine(LineSettings& settings) = 0;
    virtual bool setLine(const LineSettings& settings) = 0;
    virtual bool getTimeouts(Timeouts& timeouts) = 0;
    virtual bool setTimeouts(const Timeouts& timeouts) = 0;
    virtual bool purge(uint32_t flags) = 0;
    // Reports the line errors seen since the last call and resets them.
    virtual bool clearErrors(uint32_t& errors) = 0;
    // One synchronous read of up to n bytes under the port's timeouts;
    // `got` says how many came.
    virtual bool read(void* buffer, size_t n, size_t& got) = 0;
    virtual bool write(const void* buffer, size_t n, size_t& written) = 0;
    // Closes the OS handle. A port that fails to close stays usable.
    virtual bool close() = 0;
    virtual bool isOpen() const = 0;
    virtual uint32_t lastError() const = 0;

protected:
    SerialPort() = default;
};

// Opens a port by device name for exclusive reading and writing.
// On failure returns null and puts the OS error code into `error`.
std::unique_ptr<SerialPort> OpenSerialPort(const std::string& name, uint32_t& error);

} // namespace platform
