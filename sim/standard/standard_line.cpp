#include "sim/standard/standard_line.h"

namespace sim {

StandardLine::StandardLine(StandardConfig config, ServerOptions options)
    : bus_(std::move(config)), server_(bus_, options) {
    server_.start();
}

StandardLine::~StandardLine() { server_.stop(); }

void StandardLine::withDevice(const std::function<void(StandardAcceptor&)>& change) { withDevice(0, change); }

void StandardLine::withDevice(size_t index, const std::function<void(StandardAcceptor&)>& change) {
    server_.withDevice([&](Device&) { change(bus_.device(index)); });
}

} // namespace sim
