// Time as the programs use it: pauses, the calendar clock, a steady clock.
#pragma once

#include <cstdint>

namespace platform {

void SleepMilliseconds(uint32_t ms);

// Low 32 bits of the calendar time in seconds since 1970-01-01 UTC.
// Tests may pin it with SetCalendarTimeForTesting.
uint32_t CalendarTime32();
void SetCalendarTimeForTesting(int64_t seconds); // < 0 restores the real clock

// Milliseconds of a steady clock, for measuring intervals.
uint64_t SteadyMilliseconds();

} // namespace platform
