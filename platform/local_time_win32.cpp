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

} // namespace platform
