// A serial port in memory for the fuzz programs: it keeps the settings it
// is given, reads the bytes waiting in a queue (as many as there are, as a
// read that ran into its time limit would) and leaves each write to the
// class above it.
#pragma once

#include "platform/serial_port.h"

#include <cstddef>
#include <cstdint>
#include <deque>

class MemoryPort : public platform::SerialPort {
public:
    // `waiting` outlives the port: a port opened again goes on with it.
    explicit MemoryPort(std::deque<uint8_t>& waiting) : waiting_(waiting) {}

    bool getLine(platform::LineSettings& settings) override;
    bool setLine(const platform::LineSettings& settings) override;
    bool getTimeouts(platform::Timeouts& timeouts) override;
    bool setTimeouts(const platform::Timeouts& timeouts) override;
    bool purge(uint32_t flags) override;
    bool clearErrors(uint32_t& errors) override;
    bool read(void* buffer, size_t n, size_t& got) override;
    bool close() override;
    bool isOpen() const override { return open_; }
    uint32_t lastError() const override { return lastError_; }

protected:
    // The line errors to report at a check; none by default.
    virtual uint32_t TakeLineErrors() { return 0; }
    std::deque<uint8_t>& Waiting() { return waiting_; }
    void SetLastError(uint32_t code) { lastError_ = code; }

private:
    std::deque<uint8_t>& waiting_;
    platform::LineSettings line_;
    platform::Timeouts timeouts_;
    bool open_ = true;
    uint32_t lastError_ = 0;
};
