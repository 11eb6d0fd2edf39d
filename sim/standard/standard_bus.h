// Several standard acceptors on one line, as in a machine: every device
// sees every frame and answers only its own address (two on one address
// both answer: an address clash) and the broadcast address poll. The line's echo is
// the first device's (it is the bus that hands the host's bytes back, not
// each device).
#pragma once

#include "sim/standard/standard_acceptor.h"

#include <memory>
#include <vector>

namespace sim {

class StandardBus : public Device {
public:
    // The first device, then one more per address in
    // config.extraAddresses, each a copy of the first with its own
    // address and serial number and no coins of its own.
    explicit StandardBus(StandardConfig config);

    void OnBytes(const uint8_t* data, size_t n, std::vector<uint8_t>& out) override;
    void OnTick(uint64_t nowMs, std::vector<uint8_t>& out) override;
    void OnLineIdle() override;

    StandardAcceptor& Device(size_t index) { return *devices_[index]; }
    size_t Size() const { return devices_.size(); }

private:
    std::vector<std::unique_ptr<StandardAcceptor>> devices_;
};

// The configuration of the device at `address` beside `first` on one bus.
StandardConfig BusNeighbour(const StandardConfig& first, uint8_t address, size_t index);

} // namespace sim
