#include "sim/pty/line_tap.h"

#include <algorithm>

namespace sim {

LineTap::LineTap(uint32_t burstMs) : burst_(std::chrono::milliseconds(burstMs)) {}

void LineTap::Hear(LineTime through, uint8_t byte) { heard_.emplace(through, byte); }

void LineTap::Hear(const std::vector<LineTime>& through, const std::vector<uint8_t>& bytes) {
    const size_t n = std::min(through.size(), bytes.size());
    for (size_t i = 0; i < n; ++i) Hear(through[i], bytes[i]);
}

void LineTap::TakeDue(LineTime now, std::vector<uint8_t>& out) {
    auto it = heard_.begin();
    while (it != heard_.end() && BurstHandOver(it->first, burst_) <= now) {
        out.push_back(it->second);
        it = heard_.erase(it);
    }
}

LineTime LineTap::NextDue() const { return heard_.empty() ? LineTime::max() : BurstHandOver(heard_.begin()->first, burst_); }

} // namespace sim
