// A serial port that tells a tap every byte the program writes and reads,
// for the wire trace. It forwards every call unchanged, so the codec and
// the command handlers above it neither know nor care.
#pragma once

#include "platform/forwarding_port.h"

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

class TracedPort final : public platform::ForwardingPort {
public:
    // `tap` must outlive the port.
    TracedPort(std::unique_ptr<platform::SerialPort> inner, PortTap& tap);
    ~TracedPort() override;

    bool Read(void* buffer, size_t n, size_t& got) override;
    bool Write(const void* buffer, size_t n, size_t& written) override;
    bool Close() override;

private:
    PortTap& tap_;
    bool closeTold_ = false;
};
