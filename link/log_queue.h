// Text lines from any thread to the main window's status line.
#pragma once

#include <cstddef>
#include <functional>

constexpr size_t kLogQueueLines = 499;
constexpr size_t kLogLineChars = 299; // plus the terminating zero

// Creates and deletes the queue's lock (spin count 1000 on Windows).
// The main window creates it before any run can start.
void LogQueueInit();
void LogQueueDestroy();

// Copies at most 299 characters of `text`; drops the line when 499 wait.
void LogQueuePush(const char* text);

// Formats like printf into one line and queues it. Device texts are only
// ever arguments, never the format.
void LogQueuePushFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Hands every waiting line, oldest first, to `sink` and empties the queue.
// Returns the number of lines handed over.
size_t LogQueueDrain(const std::function<void(const char* line)>& sink);

// Lines waiting now.
size_t LogQueueCount();
