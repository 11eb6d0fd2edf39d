#include "sim/ducat/line_error_port.h"

namespace sim {

LineErrorSignal& SharedLineErrors() {
    static LineErrorSignal signal;
    return signal;
}

LineErrorPort::LineErrorPort(std::unique_ptr<platform::SerialPort> inner, LineErrorSignal& signal)
    : inner_(std::move(inner)), signal_(signal) {}

bool LineErrorPort::getLine(platform::LineSettings& settings) { return inner_->getLine(settings); }
bool LineErrorPort::setLine(const platform::LineSettings& settings) { return inner_->setLine(settings); }
bool LineErrorPort::getTimeouts(platform::Timeouts& timeouts) { return inner_->getTimeouts(timeouts); }
bool LineErrorPort::setTimeouts(const platform::Timeouts& timeouts) { return inner_->setTimeouts(timeouts); }
bool LineErrorPort::purge(uint32_t flags) { return inner_->purge(flags); }

bool LineErrorPort::clearErrors(uint32_t& errors) {
    const bool ok = inner_->clearErrors(errors);
    errors |= signal_.take();
    return ok;
}

bool LineErrorPort::read(void* buffer, size_t n, size_t& got) { return inner_->read(buffer, n, got); }
bool LineErrorPort::write(const void* buffer, size_t n, size_t& written) {
    return inner_->write(buffer, n, written);
}
bool LineErrorPort::close() { return inner_->close(); }
bool LineErrorPort::isOpen() const { return inner_->isOpen(); }
uint32_t LineErrorPort::lastError() const { return inner_->lastError(); }

std::unique_ptr<platform::SerialPort> OpenPortWithLineErrors(const std::string& name, uint32_t& error) {
    auto inner = platform::OpenSerialPort(name, error);
    if (!inner) return nullptr;
    return std::make_unique<LineErrorPort>(std::move(inner), SharedLineErrors());
}

} // namespace sim
