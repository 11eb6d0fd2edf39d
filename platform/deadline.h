// The one rule for how long a serial wait may last: a point on the steady
// clock that the wait must not pass, or none. Reads and writes of the POSIX
// port share it.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace platform {

class Deadline {
public:
    using Clock = std::chrono::steady_clock;

    // A wait without limit.
    static Deadline Never() { return Deadline(); }
    // `ms` from `now`.
    static Deadline After(uint64_t ms, Clock::time_point now = Clock::now());
    // A Windows total limit: constant + multiplier x bytes from `now`;
    // both 0 means no limit.
    static Deadline ForTotal(uint32_t constant, uint32_t multiplier, size_t bytes,
                             Clock::time_point now = Clock::now());

    // The earlier of the two; a limit is always earlier than none.
    static Deadline Earlier(const Deadline& a, const Deadline& b);

    bool Limited() const { return limited_; }
    bool Passed(Clock::time_point now = Clock::now()) const { return limited_ && now >= at_; }
    // What poll() may wait: -1 without limit, else the milliseconds left,
    // rounded up so a wait never ends early, 0 once passed.
    int PollMilliseconds(Clock::time_point now = Clock::now()) const;

private:
    Deadline() = default;
    explicit Deadline(Clock::time_point at) : limited_(true), at_(at) {}

    bool limited_ = false;
    Clock::time_point at_{};
};

} // namespace platform
