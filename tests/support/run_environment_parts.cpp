#include "tests/support/run_environment_parts.h"

#include <atomic>

namespace testing_support {
namespace {

std::atomic<uint32_t> g_pinnedTime{0};

uint32_t PinnedTime() { return g_pinnedTime.load(std::memory_order_acquire); }

template <typename Change>
void ChangeRunEnvironment(Change change) {
    RunEnvironment environment = CurrentRunEnvironment();
    change(environment);
    SetRunEnvironment(environment);
}

} // namespace

void UsePortOpener(std::unique_ptr<platform::SerialPort> (*openPort)(const std::string& name, uint32_t& error)) {
    ChangeRunEnvironment([&](RunEnvironment& e) { e.openPort = openPort; });
}

void UseThreadStarter(bool (*startThread)(platform::ThreadProc proc, void* argument)) {
    ChangeRunEnvironment([&](RunEnvironment& e) { e.startThread = startThread; });
}

void PinCalendarTime(uint32_t seconds) {
    g_pinnedTime.store(seconds, std::memory_order_release);
    ChangeRunEnvironment([](RunEnvironment& e) { e.calendarTime = PinnedTime; });
}

void UseBlockAllocator(uint8_t* (*allocateBlock)(size_t bytes)) {
    ChangeRunEnvironment([&](RunEnvironment& e) { e.allocateBlock = allocateBlock; });
}

void RestoreRunEnvironment() { SetRunEnvironment(RunEnvironment{}); }

} // namespace testing_support
