// What the core asks of its front end (the main window or the console).
// Every hook is optional.
#pragma once

#include "demo/driver/poll_counts.h"

#include <cstdint>
#include <functional>

struct DemoHooks {
    std::function<void()> repaintStatus;        // show the status box now
    std::function<void()> refresh;              // copy every field into its control
    std::function<void()> showControls;         // apply the visibility flags
    std::function<void()> showActivity;         // show the indicator texts
    std::function<void(uint8_t)> flashOutlets;  // active pictures shown; run the 400 ms flash timer
    std::function<void(uint32_t)> setPollTimer; // (re)start the poll timer with this period; 0 stops it
    // Every usable read of the event buffer, the baseline too, before the
    // fields count it (the session report counts what the core counts).
    std::function<void(const PollCounts&)> eventsRead;
};
