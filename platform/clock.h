// Time as the programs use it: pauses, the calendar clock, a steady clock.
#pragma once

#include <cstdint>

namespace platform {

void SleepMilliseconds(uint32_t ms);

// Low 32 bits of the calendar time in seconds since 1970-01-01 UTC.
uint32_t CalendarTime32();

// Milliseconds of a steady clock, for measuring intervals.
uint64_t SteadyMilliseconds();

} // namespace platform
