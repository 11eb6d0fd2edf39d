// What the serial line between a virtual acceptor and its host does to the
// bytes it carries (speed, reply delays, an adapter's bursts, gaps, noise,
// one-shot faults) and the command-line options that set it, shared by
// standard-sim, ducat-sim, `pollbench --sim` and `ducat --sim`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

enum class LineFault {
    Late,      // the reply starts lateMs later than usual
    Gap,       // a pause in the middle of the reply
    Length,    // the reply's length byte (its byte 1) is one smaller
    Flip,      // one bit of one reply byte flipped
    Short,     // the reply ends 2 bytes early
    Stray,     // 3 random bytes before the reply
    SplitEcho, // the last byte of the echo comes 30 ms after the rest
    Silence,   // no reply at all
};

// A fault for one request: the nth request (from 1) whose header (byte 3)
// is `header`, counted over everything the line has carried.
struct LineFaultAt {
    uint8_t header = 0;
    unsigned nth = 1;
    LineFault fault = LineFault::Late;
    uint32_t ms = 0; // Late and Gap: how long; 0 = lateMs or gapFaultMs of the options
};

struct LineOptions {
    uint32_t bitsPerSecond = 0; // 0 = unpaced; otherwise 10 bits a byte, both directions
    // The reply starts this long after the request's last byte arrived:
    // a uniform draw from min to max.
    uint32_t replyDelayMinMs = 0;
    uint32_t replyDelayMaxMs = 0;
    uint32_t burstMs = 0; // 0 = bytes go to the host as they are due; else at multiples of it
    double gapChance = 0; // chance per reply of a pause of gapMs after a random byte of it
    uint32_t gapMs = 0;
    double noisePerByte = 0; // chance that a byte has one bit flipped, both directions
    uint32_t seed = 1;       // of every draw the line makes
    uint32_t lateMs = 62;
    uint32_t gapFaultMs = 60;
    std::vector<LineFaultAt> faults;
};

// Looks at args[i]: false when it is no line option. Otherwise takes it with
// its value (moving i past the value) and returns true, with `error` set
// when the value is missing or bad.
bool TakeLineOption(const std::vector<std::string>& args, size_t& i, LineOptions& options, std::string& error);

// One line or two per option, for a usage text.
const char* LineOptionsHelp();

} // namespace sim
