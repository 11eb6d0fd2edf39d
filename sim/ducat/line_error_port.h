// Line errors (framing, overrun) cannot travel over a pty, so the virtual
// acceptor raises them on a signal, and a port wrapped around the host's
// real port reports them at its next error check.
#pragma once

#include "platform/forwarding_port.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace sim {

class LineErrorSignal {
public:
    void Raise(uint32_t errorBits) { bits_.fetch_or(errorBits, std::memory_order_acq_rel); }
    uint32_t Take() { return bits_.exchange(0, std::memory_order_acq_rel); }

private:
    std::atomic<uint32_t> bits_{0};
};

// The one signal of the process that the opener below attaches to.
LineErrorSignal& SharedLineErrors();

// A port that forwards everything to `inner` and adds the signal's bits to
// what the inner port reports when errors are cleared.
class LineErrorPort final : public platform::ForwardingPort {
public:
    LineErrorPort(std::unique_ptr<platform::SerialPort> inner, LineErrorSignal& signal);

    bool ClearErrors(uint32_t& errors) override;

private:
    LineErrorSignal& signal_;
};

// A port opener (the link's replaceable one) that wraps every port it
// opens in a LineErrorPort on SharedLineErrors().
std::unique_ptr<platform::SerialPort> OpenPortWithLineErrors(const std::string& name, uint32_t& error);

} // namespace sim
