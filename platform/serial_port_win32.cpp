// Serial port over the Windows communications API: one call per operation.
#include "platform/serial_port.h"

#include "platform/serial_dcb_fields.h"

#include <windows.h>

#include <atomic>

namespace platform {
namespace {

// The ports open now, so that a stop of the program's waits can cancel a
// call that already blocks. More than this many at once are not tracked.
constexpr size_t kTrackedPorts = 4;
std::atomic<HANDLE> g_openPorts[kTrackedPorts];
std::atomic<bool> g_waitsStopped{false};

void Track(HANDLE h) {
    for (auto& slot : g_openPorts) {
        HANDLE none = nullptr;
        if (slot.compare_exchange_strong(none, h)) return;
    }
}

void Untrack(HANDLE h) {
    for (auto& slot : g_openPorts) {
        HANDLE mine = h;
        if (slot.compare_exchange_strong(mine, nullptr)) return;
    }
}

class Win32SerialPort final : public SerialPort {
public:
    explicit Win32SerialPort(HANDLE h) : handle_(h) { Track(h); }
    ~Win32SerialPort() override { Close(); }

    bool GetLine(LineSettings& s) override {
        if (!ReadState()) return Fail();
        ReadLineSettingsFromDcb(dcb_, s);
        return true;
    }

    // Changes only the named fields of the block the driver last reported
    // (read now when nobody asked for it before).
    bool SetLine(const LineSettings& s) override {
        if (!haveState_ && !ReadState()) return Fail();
        ApplyLineSettingsToDcb(s, dcb_);
        return SetCommState(handle_, &dcb_) || Fail();
    }

    bool GetTimeouts(Timeouts& t) override {
        COMMTIMEOUTS ct{};
        if (!GetCommTimeouts(handle_, &ct)) return Fail();
        t.readInterval = ct.ReadIntervalTimeout;
        t.readTotalMultiplier = ct.ReadTotalTimeoutMultiplier;
        t.readTotalConstant = ct.ReadTotalTimeoutConstant;
        t.writeTotalMultiplier = ct.WriteTotalTimeoutMultiplier;
        t.writeTotalConstant = ct.WriteTotalTimeoutConstant;
        return true;
    }

    bool SetTimeouts(const Timeouts& t) override {
        COMMTIMEOUTS ct{};
        ct.ReadIntervalTimeout = t.readInterval;
        ct.ReadTotalTimeoutMultiplier = t.readTotalMultiplier;
        ct.ReadTotalTimeoutConstant = t.readTotalConstant;
        ct.WriteTotalTimeoutMultiplier = t.writeTotalMultiplier;
        ct.WriteTotalTimeoutConstant = t.writeTotalConstant;
        if (!SetCommTimeouts(handle_, &ct)) return Fail();
        timeouts_ = t;
        return true;
    }

    bool Purge(uint32_t flags) override { return PurgeComm(handle_, flags) || Fail(); }

    bool ClearErrors(uint32_t& errors) override {
        DWORD e = 0;
        COMSTAT stat{};
        const BOOL ok = ClearCommError(handle_, &e, &stat);
        errors = e;
        return ok || Fail();
    }

    bool Read(void* buffer, size_t n, size_t& got) override {
        got = 0;
        if (Stopped(timeouts_.readTotalConstant, timeouts_.readTotalMultiplier)) return false;
        DWORD r = 0;
        const BOOL ok = ReadFile(handle_, buffer, static_cast<DWORD>(n), &r, nullptr);
        got = r;
        return ok || Fail();
    }

    bool Write(const void* buffer, size_t n, size_t& written) override {
        written = 0;
        if (Stopped(timeouts_.writeTotalConstant, timeouts_.writeTotalMultiplier)) return false;
        DWORD w = 0;
        const BOOL ok = WriteFile(handle_, buffer, static_cast<DWORD>(n), &w, nullptr);
        written = w;
        return ok || Fail();
    }

    bool Close() override {
        if (handle_ == INVALID_HANDLE_VALUE) return true;
        Untrack(handle_);
        if (!CloseHandle(handle_)) {
            Track(handle_);
            return Fail();
        }
        handle_ = INVALID_HANDLE_VALUE;
        return true;
    }

    bool IsOpen() const override { return handle_ != INVALID_HANDLE_VALUE; }
    uint32_t LastError() const override { return lastError_; }

private:
    // A call without a time limit after the program stopped its waits.
    bool Stopped(uint32_t constant, uint32_t multiplier) {
        if (constant != 0 || multiplier != 0 || !g_waitsStopped.load()) return false;
        lastError_ = ERROR_OPERATION_ABORTED;
        return true;
    }

    bool ReadState() {
        DCB dcb{};
        dcb.DCBlength = sizeof(DCB);
        if (!GetCommState(handle_, &dcb)) return false;
        dcb_ = dcb;
        haveState_ = true;
        return true;
    }

    bool Fail() {
        lastError_ = GetLastError();
        return false;
    }

    HANDLE handle_;
    DCB dcb_{};
    bool haveState_ = false;
    Timeouts timeouts_{}; // as last set; none before
    uint32_t lastError_ = 0;
};

} // namespace

// Runs on the thread the C runtime starts for Ctrl+C; a call that blocks
// already on another thread is cancelled.
void StopSerialWaits() {
    g_waitsStopped.store(true);
    for (auto& slot : g_openPorts) {
        HANDLE h = slot.load();
        if (h != nullptr) (void)CancelIoEx(h, nullptr);
    }
}

void ResumeSerialWaitsForTesting() { g_waitsStopped.store(false); }

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
