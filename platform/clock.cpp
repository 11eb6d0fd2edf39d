#include "platform/clock.h"

#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>

namespace platform {
namespace {
std::atomic<int64_t> g_pinnedTime{-1};
}

void SleepMilliseconds(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

uint32_t CalendarTime32() {
    const int64_t pinned = g_pinnedTime.load(std::memory_order_acquire);
    const int64_t now = pinned >= 0 ? pinned : static_cast<int64_t>(std::time(nullptr));
    return static_cast<uint32_t>(static_cast<uint64_t>(now) & 0xFFFFFFFFu);
}

void SetCalendarTimeForTesting(int64_t seconds) { g_pinnedTime.store(seconds, std::memory_order_release); }

uint64_t SteadyMilliseconds() {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

} // namespace platform
