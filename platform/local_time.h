// The local wall-clock time, to the millisecond, for stamping trace lines.
#pragma once

#include <string>

namespace platform {

// "YYYY-MM-DD hh:mm:ss.mmm" in the local time zone.
std::string LocalTimeText();

} // namespace platform
