// The two polls a device answers with one raw byte, its address, at a time
// of its own, so that several devices on one line can be told apart: the
// broadcast address poll (header 253 to address 0) after 4 ms x address,
// its receiver off until 1.2 s after the poll so the bus comes back quiet
// for every device at once; the address clash poll (header 252) after a
// random 0 to 255 x 4 ms, so two devices on one address give two bytes.
// Times are the device's ticks, started at the first tick after the poll.
#pragma once

#include <cstdint>
#include <vector>

namespace sim {

constexpr uint8_t kBroadcastAddress = 0;
constexpr uint8_t kAddressClashPoll = 252;
constexpr uint8_t kBroadcastAddressPoll = 253;
constexpr uint32_t kAddressSlotMs = 4;
constexpr uint32_t kClashSlots = 256;
constexpr uint32_t kBroadcastDeafMs = 1200;

class AddressPollAnswer {
public:
    void HeardBroadcast(uint8_t address);
    // `slot`: 0 to kClashSlots - 1, the device's draw.
    void HeardClashPoll(uint8_t address, uint32_t slot);

    // The receiver is off: the device ignores what it hears.
    bool Deaf() const { return deaf_; }
    // Sends the address byte when it is due and ends the deaf time.
    void OnTick(uint64_t nowMs, std::vector<uint8_t>& out);

private:
    void Plan(uint8_t address, uint32_t delayMs, uint32_t deafMs);

    bool planned_ = false;
    bool started_ = false; // the tick after the poll has come
    bool answered_ = false;
    bool deaf_ = false;
    uint8_t address_ = 0;
    uint32_t delayMs_ = 0;
    uint32_t deafMs_ = 0;
    uint64_t heardMs_ = 0;
};

} // namespace sim
