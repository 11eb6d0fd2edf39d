// The local wall-clock time: to the millisecond for stamping trace lines,
// and any calendar time converted to the local zone. The conversions are
// reentrant, so no caller needs a lock around the C runtime's one buffer.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace platform {

// "YYYY-MM-DD hh:mm:ss.mmm" in the local time zone.
std::string LocalTimeText();

// Seconds since 1970 in the local zone; false when the system cannot
// convert them.
bool LocalCalendarTime(int64_t seconds, std::tm& out);

} // namespace platform
