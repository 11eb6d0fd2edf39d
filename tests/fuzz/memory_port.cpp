#include "tests/fuzz/memory_port.h"

#include <algorithm>

bool MemoryPort::getLine(platform::LineSettings& settings) {
    settings = line_;
    return true;
}

bool MemoryPort::setLine(const platform::LineSettings& settings) {
    line_ = settings;
    return true;
}

bool MemoryPort::getTimeouts(platform::Timeouts& timeouts) {
    timeouts = timeouts_;
    return true;
}

bool MemoryPort::setTimeouts(const platform::Timeouts& timeouts) {
    timeouts_ = timeouts;
    return true;
}

bool MemoryPort::purge(uint32_t flags) {
    if (flags & (platform::kPurgeRxAbort | platform::kPurgeRxClear)) waiting_.clear();
    return true;
}

bool MemoryPort::clearErrors(uint32_t& errors) {
    errors = TakeLineErrors();
    return true;
}

bool MemoryPort::read(void* buffer, size_t n, size_t& got) {
    got = std::min(n, waiting_.size());
    std::copy_n(waiting_.begin(), got, static_cast<uint8_t*>(buffer));
    waiting_.erase(waiting_.begin(), waiting_.begin() + static_cast<std::ptrdiff_t>(got));
    return true;
}

bool MemoryPort::close() {
    open_ = false;
    return true;
}
