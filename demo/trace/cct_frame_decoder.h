// What a frame on Pollbench's line means: the request's header and data,
// the echo against the request, and the reply read against the request it
// answers (identity texts, credit events with their coin ids and error
// texts, inhibit masks, sorter paths ...). The decoder keeps what it
// learnt from earlier frames: the last request, the coin ids and the last
// event counter. A reply that does not hold as a frame (checksum, length)
// is named, never read: no events, and nothing learnt from it.
#pragma once

#include "platform/trace_line.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CctFrameDecoder {
public:
    std::string Describe(platform::TraceDirection direction, const std::vector<uint8_t>& bytes);

    std::string Host(const std::vector<uint8_t>& frame);
    std::string Echo(const std::vector<uint8_t>& bytes) const;
    std::string Device(const std::vector<uint8_t>& bytes);

    // A fresh baseline: the next buffered-credit reply counts no new events.
    void ForgetCounter() { counterKnown_ = false; }

private:
    std::string ReplyData(uint8_t requestHeader, const uint8_t* data, size_t n);
    std::string CreditEvents(const uint8_t* data, size_t n);
    std::string CoinName(uint8_t position) const;

    std::vector<uint8_t> request_;
    std::array<std::string, 16> coinIds_{};
    bool counterKnown_ = false;
    uint8_t lastCounter_ = 0;
};

// "positions 1-6, 9" for the set bits of a 16-bit mask (bit 0 = position 1).
std::string PositionList(uint16_t mask);
