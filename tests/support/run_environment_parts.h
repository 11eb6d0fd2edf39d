// A test's own parts of the run environment: each call replaces one part and
// keeps the others; RestoreRunEnvironment puts the system's back. Call only
// while no run exists.
#pragma once

#include "link/run_environment.h"

#include <cstddef>
#include <cstdint>

namespace testing_support {

void UsePortOpener(std::unique_ptr<platform::SerialPort> (*openPort)(const std::string& name, uint32_t& error));
void UseThreadStarter(bool (*startThread)(platform::ThreadProc proc, void* argument));
// The calendar clock stands at `seconds` for every run.
void PinCalendarTime(uint32_t seconds);
void UseBlockAllocator(uint8_t* (*allocateBlock)(size_t bytes));
void RestoreRunEnvironment();

} // namespace testing_support
