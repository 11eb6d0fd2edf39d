#include "demo/driver/event_decoding.h"

bool IsCountedReject(uint8_t code) {
    switch (code) {
    case 1: case 2: case 8: case 9: case 10: case 11: return true;
    default: return false;
    }
}

int EventsSince(uint8_t counter, uint8_t lastCounter) {
    int n = static_cast<uint8_t>(counter - lastCounter);
    if (counter < lastCounter) --n; // the counter went from 255 to 1
    return n;
}

int NewEventCount(uint8_t counter, uint8_t lastCounter) {
    const int n = EventsSince(counter, lastCounter);
    return n > kEventsInReply ? kEventsInReply : n;
}

uint8_t CounterBefore(uint8_t counter, int back) {
    // The counter skips 0 when it wraps.
    for (int i = 0; i < back; ++i) counter = counter == 1 ? 255 : static_cast<uint8_t>(counter - 1);
    return counter;
}

std::string LostEventsText(int lost) {
    return "lost " + std::to_string(lost) + (lost == 1 ? " event" : " events") + " between polls";
}

void DecodeEvents(const uint8_t* reply, int newEvents, PollCounts& counts) {
    // Event e (1 = newest) is bytes 2e-1 (result A) and 2e (result B).
    if (reply[1] == 0) counts.errorCode = reply[2];
    for (int e = newEvents; e >= 1; --e) {
        const uint8_t a = reply[2 * e - 1];
        const uint8_t b = reply[2 * e];
        counts.events.push_back({CounterBefore(reply[0], e - 1), a, b});
        if (a != 0) {
            if (a <= kCoinPositions) ++counts.coins[a];
            if (b >= 1 && b <= kSorterPaths) ++counts.outlets[b];
        } else if (IsCountedReject(b)) {
            ++counts.coins[0];
            ++counts.outlets[0];
        } else {
            counts.errorCode = b;
        }
    }
}

void TakeNewEvents(const uint8_t* reply, uint8_t& lastCounter, PollCounts& counts) {
    const uint8_t counter = reply[0];
    const int newEvents = NewEventCount(counter, lastCounter);
    counts.lost = EventsSince(counter, lastCounter) - newEvents;
    DecodeEvents(reply, newEvents, counts);
    lastCounter = counter;
}
