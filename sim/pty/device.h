// The device side of a serial line: takes what the host wrote and answers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

class Device {
public:
    virtual ~Device() = default;

    // Bytes that arrived from the host (any split: a frame may come in
    // pieces). Appends whatever the device sends back to `out`.
    virtual void OnBytes(const uint8_t* data, size_t n, std::vector<uint8_t>& out) = 0;

    // Called about every 10 ms with the steady time, for things the device
    // does on its own (a coin passing, say). May append bytes to send.
    virtual void OnTick(uint64_t /*nowMs*/, std::vector<uint8_t>& /*out*/) {}

    // Called when the host has been silent for a whole frame gap: a device
    // drops a partial frame then.
    virtual void OnLineIdle() {}
};

} // namespace sim
