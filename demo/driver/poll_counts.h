// What one read of the event buffer found.
#pragma once

#include <array>
#include <cstdint>

constexpr int kCoinPositions = 16;
constexpr int kSorterPaths = 8;

struct PollCounts {
    // Index 0: counted rejects; index p: new credits of coin position p.
    std::array<uint8_t, kCoinPositions + 1> coins{};
    // Index 0: counted rejects; index k: new credits routed to sorter path k.
    std::array<uint8_t, kSorterPaths + 1> outlets{};
    // The error code to show; 0 if none.
    uint8_t errorCode = 0;
};
