#include "sim/standard/standard_line.h"

namespace sim {

StandardLine::StandardLine(StandardConfig config, ServerOptions options)
    : bus_(std::move(config)), server_(bus_, options) {
    server_.Start();
}

StandardLine::~StandardLine() { server_.Stop(); }

void StandardLine::WithDevice(const std::function<void(StandardAcceptor&)>& change) { WithDevice(0, change); }

void StandardLine::WithDevice(size_t index, const std::function<void(StandardAcceptor&)>& change) {
    server_.WithDevice([&](Device&) { change(bus_.Device(index)); });
}

} // namespace sim
