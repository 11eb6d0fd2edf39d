#include "sim/standard/standard_address_poll.h"

namespace sim {

void AddressPollAnswer::Plan(uint8_t address, uint32_t delayMs, uint32_t deafMs) {
    planned_ = true;
    started_ = false;
    answered_ = false;
    deaf_ = deafMs != 0;
    address_ = address;
    delayMs_ = delayMs;
    deafMs_ = deafMs;
}

void AddressPollAnswer::HeardBroadcast(uint8_t address) {
    Plan(address, kAddressSlotMs * address, kBroadcastDeafMs);
}

void AddressPollAnswer::HeardClashPoll(uint8_t address, uint32_t slot) {
    Plan(address, kAddressSlotMs * slot, 0);
}

void AddressPollAnswer::OnTick(uint64_t nowMs, std::vector<uint8_t>& out) {
    if (!planned_) return;
    if (!started_) {
        started_ = true;
        heardMs_ = nowMs;
    }
    if (!answered_ && nowMs >= heardMs_ + delayMs_) {
        answered_ = true;
        out.push_back(address_);
    }
    if (deaf_ && nowMs >= heardMs_ + deafMs_) deaf_ = false;
    planned_ = !answered_ || deaf_;
}

} // namespace sim
