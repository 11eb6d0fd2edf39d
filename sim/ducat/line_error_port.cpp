#include "sim/ducat/line_error_port.h"

#include <utility>

namespace sim {

LineErrorSignal& SharedLineErrors() {
    static LineErrorSignal signal;
    return signal;
}

LineErrorPort::LineErrorPort(std::unique_ptr<platform::SerialPort> inner, LineErrorSignal& signal)
    : ForwardingPort(std::move(inner)), signal_(signal) {}

bool LineErrorPort::ClearErrors(uint32_t& errors) {
    const bool ok = Inner().ClearErrors(errors);
    errors |= signal_.Take();
    return ok;
}

std::unique_ptr<platform::SerialPort> OpenPortWithLineErrors(const std::string& name, uint32_t& error) {
    auto inner = platform::OpenSerialPort(name, error);
    if (!inner) return nullptr;
    return std::make_unique<LineErrorPort>(std::move(inner), SharedLineErrors());
}

} // namespace sim
