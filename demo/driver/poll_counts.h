// What one read of the event buffer found.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

constexpr int kCoinPositions = 16;
constexpr int kSorterPaths = 8;
constexpr int kEventsInReply = 5;

// One event of the buffer: a credit (result A = coin position, B = sorter
// path) or, with result A 0, an error code in B.
struct PollEvent {
    uint8_t counter = 0; // the event counter's value for this event
    uint8_t resultA = 0;
    uint8_t resultB = 0;
};

struct PollCounts {
    // Index 0: counted rejects; index p: new credits of coin position p.
    std::array<uint8_t, kCoinPositions + 1> coins{};
    // Index 0: counted rejects; index k: new credits routed to sorter path k.
    std::array<uint8_t, kSorterPaths + 1> outlets{};
    // The error code to show; 0 if none.
    uint8_t errorCode = 0;
    // The reply's event counter.
    uint8_t counter = 0;
    // The new events, oldest first (at most kEventsInReply).
    std::vector<PollEvent> events;
    // Events the device held no longer: those past the five a reply holds,
    // and on the baseline of a device identified again, those its counter
    // went past while it was not polled.
    int lost = 0;
};
