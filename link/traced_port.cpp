#include "link/traced_port.h"

TracedPort::TracedPort(std::unique_ptr<platform::SerialPort> inner, PortTap& tap) : inner_(std::move(inner)), tap_(tap) {}

TracedPort::~TracedPort() {
    if (!closeTold_) tap_.onClose();
}

bool TracedPort::read(void* buffer, size_t n, size_t& got) {
    got = 0;
    const bool ok = inner_->read(buffer, n, got);
    tap_.onRead(static_cast<const uint8_t*>(buffer), n, ok ? got : 0, ok);
    return ok;
}

bool TracedPort::write(const void* buffer, size_t n, size_t& written) {
    written = 0;
    const bool ok = inner_->write(buffer, n, written);
    tap_.onWrite(static_cast<const uint8_t*>(buffer), n, written, ok, ok ? 0 : inner_->lastError());
    return ok;
}

bool TracedPort::close() {
    const bool closed = inner_->close();
    if (!closeTold_) tap_.onClose();
    closeTold_ = true;
    return closed;
}
