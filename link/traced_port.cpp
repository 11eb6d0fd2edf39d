#include "link/traced_port.h"

#include <utility>

TracedPort::TracedPort(std::unique_ptr<platform::SerialPort> inner, PortTap& tap) : ForwardingPort(std::move(inner)), tap_(tap) {}

TracedPort::~TracedPort() {
    if (!closeTold_) tap_.OnClose();
}

bool TracedPort::Read(void* buffer, size_t n, size_t& got) {
    got = 0;
    const bool ok = Inner().Read(buffer, n, got);
    tap_.OnRead(static_cast<const uint8_t*>(buffer), n, ok ? got : 0, ok);
    return ok;
}

bool TracedPort::Write(const void* buffer, size_t n, size_t& written) {
    written = 0;
    const bool ok = Inner().Write(buffer, n, written);
    tap_.OnWrite(static_cast<const uint8_t*>(buffer), n, written, ok, ok ? 0 : Inner().LastError());
    return ok;
}

bool TracedPort::Close() {
    const bool closed = Inner().Close();
    if (!closeTold_) tap_.OnClose();
    closeTold_ = true;
    return closed;
}
