// Serial port over the Windows communications API: one call per operation.
#include "platform/serial_port.h"

#include <windows.h>

namespace platform {
namespace {

class Win32SerialPort final : public SerialPort {
public:
    explicit Win32SerialPort(HANDLE h) : handle_(h) {}
    ~Win32SerialPort() override { close(); }

    bool getLine(LineSettings& s) override {
        dcb_ = DCB{};
        dcb_.DCBlength = sizeof(DCB);
        if (!GetCommState(handle_, &dcb_)) return fail();
        s.baudRate = dcb_.BaudRate;
        s.byteSize = dcb_.ByteSize;
        s.parity = dcb_.Parity;
        s.stopBits = dcb_.StopBits;
        s.parityCheck = dcb_.fParity != 0;
        s.ctsOutputFlow = dcb_.fOutxCtsFlow != 0;
        s.dsrOutputFlow = dcb_.fOutxDsrFlow != 0;
        s.dtrControl = static_cast<uint8_t>(dcb_.fDtrControl);
        s.rtsControl = static_cast<uint8_t>(dcb_.fRtsControl);
        s.errorCharReplace = dcb_.fErrorChar != 0;
        return true;
    }

    // Changes only the named fields of the block the driver last reported.
    bool setLine(const LineSettings& s) override {
        dcb_.DCBlength = sizeof(DCB);
        dcb_.BaudRate = s.baudRate;
        dcb_.ByteSize = s.byteSize;
        dcb_.Parity = s.parity;
        dcb_.StopBits = s.stopBits;
        dcb_.fParity = s.parityCheck ? 1 : 0;
        dcb_.fOutxCtsFlow = s.ctsOutputFlow ? 1 : 0;
        dcb_.fOutxDsrFlow = s.dsrOutputFlow ? 1 : 0;
        dcb_.fDtrControl = s.dtrControl;
        dcb_.fRtsControl = s.rtsControl;
        dcb_.fErrorChar = s.errorCharReplace ? 1 : 0;
        return SetCommState(handle_, &dcb_) || fail();
    }

    bool getTimeouts(Timeouts& t) override {
        COMMTIMEOUTS ct{};
        if (!GetCommTimeouts(handle_, &ct)) return fail();
        t.readInterval = ct.ReadIntervalTimeout;
        t.readTotalMultiplier = ct.ReadTotalTimeoutMultiplier;
        t.readTotalConstant = ct.ReadTotalTimeoutConstant;
        t.writeTotalMultiplier = ct.WriteTotalTimeoutMultiplier;
        t.writeTotalConstant = ct.WriteTotalTimeoutConstant;
        return true;
    }

    bool setTimeouts(const Timeouts& t) override {
        COMMTIMEOUTS ct{};
        ct.ReadIntervalTimeout = t.readInterval;
        ct.ReadTotalTimeoutMultiplier = t.readTotalMultiplier;
        ct.ReadTotalTimeoutConstant = t.readTotalConstant;
        ct.WriteTotalTimeoutMultiplier = t.writeTotalMultiplier;
        ct.WriteTotalTimeoutConstant = t.writeTotalConstant;
        return SetCommTimeouts(handle_, &ct) || fail();
    }

    bool purge(uint32_t flags) override { return PurgeComm(handle_, flags) || fail(); }

    bool clearErrors(uint32_t& errors) override {
        DWORD e = 0;
        COMSTAT stat{};
        const BOOL ok = ClearCommError(handle_, &e, &stat);
        errors = e;
        return ok || fail();
    }

    bool read(void* buffer, size_t n, size_t& got) override {
        DWORD r = 0;
        const BOOL ok = ReadFile(handle_, buffer, static_cast<DWORD>(n), &r, nullptr);
        got = r;
        return ok || fail();
    }

    bool write(const void* buffer, size_t n, size_t& written) override {
        DWORD w = 0;
        const BOOL ok = WriteFile(handle_, buffer, static_cast<DWORD>(n), &w, nullptr);
        written = w;
        return ok || fail();
    }

    bool close() override {
        if (handle_ == INVALID_HANDLE_VALUE) return true;
        if (!CloseHandle(handle_)) return fail();
        handle_ = INVALID_HANDLE_VALUE;
        return true;
    }

    bool isOpen() const override { return handle_ != INVALID_HANDLE_VALUE; }
    uint32_t lastError() const override { return lastError_; }

private:
    bool fail() {
        lastError_ = GetLastError();
        return false;
    }

    HANDLE handle_;
    DCB dcb_{};
    uint32_t lastError_ = 0;
};

} // namespace

std::unique_ptr<SerialPort> OpenSerialPort(const std::string& name, uint32_t& error) {
    error = 0;
    HANDLE h = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return nullptr;
    }
    return std::make_unique<Win32SerialPort>(h);
}

} // namespace platform
