#include "platform/clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace platform {
void SleepMilliseconds(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

uint32_t CalendarTime32() {
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
    return static_cast<uint32_t>(static_cast<uint64_t>(now) & 0xFFFFFFFFu);
}

uint64_t SteadyMilliseconds() {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

} // namespace platform
