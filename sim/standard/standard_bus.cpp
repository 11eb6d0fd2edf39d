#include "sim/standard/standard_bus.h"

namespace sim {

StandardConfig BusNeighbour(const StandardConfig& first, uint8_t address, size_t index) {
    StandardConfig c = first;
    c.address = address;
    c.serialNumber = first.serialNumber + static_cast<uint32_t>(index);
    // Two devices on one address must not draw the same clash poll delays.
    c.seed = first.seed + static_cast<uint32_t>(index);
    c.echo = false;
    c.coinsPerSecond = 0;
    c.extraAddresses.clear();
    return c;
}

StandardBus::StandardBus(StandardConfig config) {
    const std::vector<uint8_t> extra = config.extraAddresses;
    devices_.push_back(std::make_unique<StandardAcceptor>(config));
    for (size_t i = 0; i < extra.size(); ++i) {
        devices_.push_back(std::make_unique<StandardAcceptor>(BusNeighbour(config, extra[i], i + 1)));
    }
}

void StandardBus::OnBytes(const uint8_t* data, size_t n, std::vector<uint8_t>& out) {
    for (auto& d : devices_) d->OnBytes(data, n, out);
}

void StandardBus::OnTick(uint64_t nowMs, std::vector<uint8_t>& out) {
    for (auto& d : devices_) d->OnTick(nowMs, out);
}

void StandardBus::OnLineIdle() {
    for (auto& d : devices_) d->OnLineIdle();
}

} // namespace sim
