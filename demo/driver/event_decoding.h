// Decoding of the buffered-credit reply: an event counter, then five events
// of two bytes each, newest first.
#pragma once

#include "demo/driver/poll_counts.h"

#include <cstdint>
#include <string>

constexpr uint8_t kBufferedCreditLength = 11;

// Events that happened between two counters; the counter skips 0 when it
// wraps from 255 to 1.
int EventsSince(uint8_t counter, uint8_t lastCounter);

// New events between two counters: more than the five events a reply holds
// are lost.
int NewEventCount(uint8_t counter, uint8_t lastCounter);

// "lost 2 events between polls".
std::string LostEventsText(int lost);

// Error codes that count as a rejected coin.
bool IsCountedReject(uint8_t code);

// The counter value of the event `back` places before the one of `counter`.
uint8_t CounterBefore(uint8_t counter, int back);

// Counts the newest `newEvents` events of an 11-byte reply into `counts` and
// lists them, oldest first, with their counter values.
void DecodeEvents(const uint8_t* reply, int newEvents, PollCounts& counts);

// Takes the events of a reply whose counter moved on from `lastCounter`:
// the newest five at most into `counts`, the rest counted as lost; the
// baseline then moves to the reply's counter. The driver and a sniff's
// reading of another host's polls both take them so.
void TakeNewEvents(const uint8_t* reply, uint8_t& lastCounter, PollCounts& counts);
