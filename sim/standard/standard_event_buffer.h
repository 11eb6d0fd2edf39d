// The standard acceptor's event buffer: five events, newest first, and an
// event counter that is 0 only after a reset and wraps from 255 to 1.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace sim {

// Every event the device ever pushed, which a power cycle does not clear:
// what a host should have counted.
struct StandardEventTally {
    uint64_t events = 0;
    std::array<uint64_t, 256> credits{}; // index: coin position (result A)
    uint64_t errors = 0;
};

class StandardEventBuffer {
public:
    static constexpr int kEvents = 5;

    // A credit (coin position, sorter path) or an error (0, code).
    void Push(uint8_t resultA, uint8_t resultB);
    void Reset(); // counter 0, no events
    void SetCounter(uint8_t counter) { counter_ = counter; }
    uint8_t Counter() const { return counter_; }
    const StandardEventTally& Tally() const { return tally_; }

    // The 11 data bytes of the buffered-credit reply.
    std::vector<uint8_t> Reply() const;

private:
    uint8_t counter_ = 0;
    std::array<uint8_t, 2 * kEvents> events_{};
    StandardEventTally tally_;
};

} // namespace sim
