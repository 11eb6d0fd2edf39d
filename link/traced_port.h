// A serial port that tells a tap every byte the program writes and reads,
// for the wire trace. It forwards every call unchanged, so the codec and
// the command handlers above it neither know nor care.
#pragma once

#include "platform/serial_port.h"

#include <memory>

class PortTap {
public:
    virtual ~PortTap() = default;
    // A write call and what it took; `ok` false = the call failed with `error`.
    virtual void onWrite(const uint8_t* bytes, size_t asked, size_t written, bool ok, uint32_t error) = 0;
    // A read call: `got` of `asked` bytes came.
    virtual void onRead(const uint8_t* bytes, size_t asked, size_t got, bool ok) = 0;
    virtual void onClose() = 0;
};

class TracedPort final : public platform::SerialPort {
public:
    // `tap` must outlive the port.
    TracedPort(std::unique_ptr<platform::SerialPort> inner, PortTap& tap);
    ~TracedPort() override;

    bool getLine(platform::LineSettings& settings) override { return inner_->getLine(settings); }
    bool setLine(const platform::LineSettings& settings) override { return inner_->setLine(settings); }
    bool getTimeouts(platform::Timeouts& timeouts) override { return inner_->getTimeouts(timeouts); }
    bool setTimeouts(const platform::Timeouts& timeouts) override { return inner_->setTimeouts(timeouts); }
    bool purge(uint32_t flags) override { return inner_->purge(flags); }
    bool clearErrors(uint32_t& errors) override { return inner_->clearErrors(errors); }
    bool read(void* buffer, size_t n, size_t& got) override;
    bool write(const void* buffer, size_t n, size_t& written) override;
    bool close() override;
    bool isOpen() const override { return inner_->isOpen(); }
    uint32_t lastError() const override { return inner_->lastError(); }

private:
    std::unique_ptr<platform::SerialPort> inner_;
    PortTap& tap_;
    bool closeTold_ = false;
};
