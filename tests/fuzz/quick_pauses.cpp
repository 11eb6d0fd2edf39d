// std::this_thread::sleep_for ends in the C library's nanosleep; the
// definitions here take its place in the fuzz programs and go to the
// system call themselves unless this thread's pauses are quick.
#include "tests/fuzz/quick_pauses.h"

#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

namespace {
thread_local bool g_quick = false;
}

QuickPauses::QuickPauses() : previous_(g_quick) { g_quick = true; }
QuickPauses::~QuickPauses() { g_quick = previous_; }

extern "C" int nanosleep(const struct timespec* request, struct timespec* remaining) {
    if (g_quick) return 0;
    return static_cast<int>(syscall(SYS_nanosleep, request, remaining));
}

extern "C" int clock_nanosleep(clockid_t clock, int flags, const struct timespec* request,
                               struct timespec* remaining) {
    if (g_quick) return 0;
    // The system call answers -1 and errno; this function answers the error.
    if (syscall(SYS_clock_nanosleep, clock, flags, request, remaining) == 0) return 0;
    return errno;
}
