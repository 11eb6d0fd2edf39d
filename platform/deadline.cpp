#include "platform/deadline.h"

#include <algorithm>
#include <limits>

namespace platform {
namespace {

// Longer limits are clipped here, so the sum cannot overflow the clock and a
// poll() wait always fits in an int: about 24 days.
constexpr uint64_t kLongestLimitMs = static_cast<uint64_t>(std::numeric_limits<int>::max());

} // namespace

Deadline Deadline::After(uint64_t ms, Clock::time_point now) {
    return Deadline(now + std::chrono::milliseconds(std::min(ms, kLongestLimitMs)));
}

Deadline Deadline::ForTotal(uint32_t constant, uint32_t multiplier, size_t bytes, Clock::time_point now) {
    if (constant == 0 && multiplier == 0) return Never();
    // multiplier x bytes can exceed 64 bits only past the clip anyway.
    const uint64_t perByte = (multiplier != 0 && bytes > kLongestLimitMs / multiplier)
                                 ? kLongestLimitMs
                                 : static_cast<uint64_t>(multiplier) * bytes;
    return After(static_cast<uint64_t>(constant) + perByte, now);
}

Deadline Deadline::Earlier(const Deadline& a, const Deadline& b) {
    if (!a.limited_) return b;
    if (!b.limited_) return a;
    return a.at_ <= b.at_ ? a : b;
}

int Deadline::PollMilliseconds(Clock::time_point now) const {
    if (!limited_) return -1;
    if (now >= at_) return 0;
    const auto left = std::chrono::duration_cast<std::chrono::microseconds>(at_ - now).count();
    return static_cast<int>((left + 999) / 1000);
}

} // namespace platform
