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
    virtual void OnWrite(const uint8_t* bytes, size_t asked, size_t written, bool ok, uint32_t error) = 0;
    // A read call: `got` of `asked` bytes came.
    virtual void OnRead(const uint8_t* bytes, size_t asked, size_t got, bool ok) = 0;
    virtual void OnClose() = 0;
};

class TracedPort final : public platform::SerialPort {
public:
    // `tap` must outlive the port.
    TracedPort(std::unique_ptr<platform::SerialPort> inner, PortTap& tap);
    ~TracedPort() override;

    bool GetLine(platform::LineSettings& settings) override { return inner_->GetLine(settings); }
    bool SetLine(const platform::LineSettings& settings) override { return inner_->SetLine(settings); }
    bool GetTimeouts(platform::Timeouts& timeouts) override { return inner_->GetTimeouts(timeouts); }
    bool SetTimeouts(const platform::Timeouts& timeouts) override { return inner_->SetTimeouts(timeouts); }
    bool Purge(uint32_t flags) override { return inner_->Purge(flags); }
    bool ClearErrors(uint32_t& errors) override { return inner_->ClearErrors(errors); }
    bool Read(void* buffer, size_t n, size_t& got) override;
    bool Write(const void* buffer, size_t n, size_t& written) override;
    bool Close() override;
    bool IsOpen() const override { return inner_->IsOpen(); }
    uint32_t LastError() const override { return inner_->LastError(); }

private:
    std::unique_ptr<platform::SerialPort> inner_;
    PortTap& tap_;
    bool closeTold_ = false;
};
