#include "platform/local_time.h"

#include <cstdio>
#include <ctime>
#include <sys/time.h>

namespace platform {

std::string LocalTimeText() {
    timeval now{};
    ::gettimeofday(&now, nullptr);
    std::tm local{};
    const std::time_t seconds = now.tv_sec;
    ::localtime_r(&seconds, &local);
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(now.tv_usec / 1000));
    return text;
}

bool LocalCalendarTime(int64_t seconds, std::tm& out) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    return ::localtime_r(&t, &out) != nullptr;
}

} // namespace platform
