// A scripted serial port for the link's tests: it answers each write with
// the next scripted reply, fails the calls it is told to fail and records
// every call in order.
#pragma once

#include "platform/serial_port.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

struct FakePortScript {
    bool failGetLine = false;
    bool failSetLine = false;
    bool failSetTimeouts = false;
    bool failWrite = false;
    size_t writeLimit = SIZE_MAX; // a write that succeeds takes at most this many bytes
    uint32_t systemError = 0x1F; // lastError() after a failed call
    platform::LineSettings driverLine; // what getLine reports
    // Results of successive clearErrors calls; 0 once used up.
    std::deque<uint32_t> lineErrors;
    // Each write makes the next reply the pending input (what a device
    // would answer); an empty reply is silence.
    std::deque<std::vector<uint8_t>> replies;
};

struct FakePortLog {
    std::vector<std::string> calls; // "getLine", "purge:0F", "read:2", ...
    platform::LineSettings lineSet;
    platform::Timeouts timeoutsSet;
    std::vector<std::vector<uint8_t>> writes;
    int clearErrorsCalls = 0;
    bool closed = false;
    size_t queuedAtClose = 0; // lines waiting in the log queue when closed
};

class FakeSerialPort final : public platform::SerialPort {
public:
    FakeSerialPort(FakePortScript& script, FakePortLog& log) : script_(script), log_(log) {}
    ~FakeSerialPort() override = default;

    // Bytes waiting to be read now, as if they had arrived on the line.
    void setPendingInput(std::vector<uint8_t> bytes) { pending_.assign(bytes.begin(), bytes.end()); }

    bool getLine(platform::LineSettings& settings) override;
    bool setLine(const platform::LineSettings& settings) override;
    bool getTimeouts(platform::Timeouts& timeouts) override;
    bool setTimeouts(const platform::Timeouts& timeouts) override;
    bool purge(uint32_t flags) override;
    bool clearErrors(uint32_t& errors) override;
    bool read(void* buffer, size_t n, size_t& got) override;
    bool write(const void* buffer, size_t n, size_t& written) override;
    bool close() override;
    bool isOpen() const override { return !log_.closed; }
    uint32_t lastError() const override { return lastError_; }

private:
    bool fail();

    FakePortScript& script_;
    FakePortLog& log_;
    std::deque<uint8_t> pending_;
    uint32_t lastError_ = 0;
};

// The port every run opens while a FakePortOpener is alive: a
// FakeSerialPort over the opener's script and log, or a refusal.
class FakePortOpener {
public:
    FakePortOpener();
    ~FakePortOpener(); // restores the platform's opener

    FakePortScript script;
    FakePortLog log;
    int openings = 0;
    std::string lastName;
    uint32_t refuseWith = 0; // non-zero: the open fails with this code
};

} // namespace testing_support
