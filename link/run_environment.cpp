#include "link/run_environment.h"

#include "platform/clock.h"

#include <mutex>
#include <new>

namespace {

uint8_t* AllocateNothrow(size_t bytes) { return new (std::nothrow) uint8_t[bytes]; }

// The service thread reads the environment while a test may set the next
// one, so it is copied in and out under a lock.
std::mutex g_lock;

RunEnvironment& Installed() {
    static RunEnvironment environment;
    return environment;
}

} // namespace

RunEnvironment::RunEnvironment()
    : openPort(&platform::OpenSerialPort), startThread(&platform::StartDetachedThread),
      calendarTime(&platform::CalendarTime32), allocateBlock(&AllocateNothrow) {}

void SetRunEnvironment(const RunEnvironment& environment) {
    std::lock_guard<std::mutex> guard(g_lock);
    Installed() = environment;
}

RunEnvironment CurrentRunEnvironment() {
    std::lock_guard<std::mutex> guard(g_lock);
    return Installed();
}
