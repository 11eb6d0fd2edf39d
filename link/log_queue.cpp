#include "link/log_queue.h"

#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

using Line = std::array<char, kLogLineChars + 1>;

// The lock lives as long as the program, so a line pushed by a run that
// outlives the main window never meets a deleted lock. (On Windows the
// window's critical section used a spin count of 1000; std::mutex spins
// briefly on its own.)
std::mutex g_lock;
Line g_lines[kLogQueueLines];
size_t g_count = 0;

} // namespace

void LogQueueInit() {
    std::lock_guard<std::mutex> guard(g_lock);
    g_count = 0;
}

void LogQueueDestroy() {
    std::lock_guard<std::mutex> guard(g_lock);
    g_count = 0;
}

void LogQueuePush(const char* text) {
    if (text == nullptr) return;
    std::lock_guard<std::mutex> guard(g_lock);
    if (g_count >= kLogQueueLines) return; // full: dropped until the next drain
    Line& line = g_lines[g_count];
    const size_t length = strnlen(text, kLogLineChars);
    std::memcpy(line.data(), text, length);
    line[length] = '\0';
    ++g_count;
}

void LogQueuePushFormat(const char* format, ...) {
    char line[kLogLineChars + 1];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    LogQueuePush(line);
}

size_t LogQueueDrain(const std::function<void(const char* line)>& sink) {
    // Copied out first: the sink runs without the lock, so it may push.
    std::vector<Line> taken;
    {
        std::lock_guard<std::mutex> guard(g_lock);
        taken.assign(g_lines, g_lines + g_count);
        g_count = 0;
    }
    if (sink) {
        for (const Line& line : taken) sink(line.data());
    }
    return taken.size();
}

size_t LogQueueCount() {
    std::lock_guard<std::mutex> guard(g_lock);
    return g_count;
}
