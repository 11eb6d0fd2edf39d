#include "sim/standard_line.h"

namespace sim {

StandardLine::StandardLine(StandardConfig config, ServerOptions options)
    : device_(std::move(config)), server_(device_, options) {
    server_.start();
}

StandardLine::~StandardLine() { server_.stop(); }

void StandardLine::withDevice(const std::function<void(StandardAcceptor&)>& change) {
    server_.withDevice([&](Device&) { change(device_); });
}

} // namespace sim
