#include "platform/local_time.h"

#include <cstdio>
#include <windows.h>

namespace platform {

std::string LocalTimeText() {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    char text[96];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", local.wYear, local.wMonth, local.wDay,
                  local.wHour, local.wMinute, local.wSecond, local.wMilliseconds);
    return text;
}

bool LocalCalendarTime(int64_t seconds, std::tm& out) {
    const __time64_t t = static_cast<__time64_t>(seconds);
    return _localtime64_s(&out, &t) == 0;
}

} // namespace platform
