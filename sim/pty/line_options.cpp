#include "sim/pty/line_options.h"

#include <cerrno>
#include <cstdlib>

namespace sim {
namespace {

constexpr unsigned long kMaxLineSpeed = 4000000;
constexpr unsigned long kMaxMs = 60000;
constexpr unsigned long kMaxBurstMs = 1000;
constexpr unsigned long kMaxSeed = 0xFFFFFFFF;
constexpr unsigned long kMaxNth = 1000000;
constexpr unsigned long kMaxHeader = 255;

// A whole decimal number, digits only, from 0 to max.
bool ParseCount(const std::string& text, unsigned long max, unsigned long& value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    errno = 0;
    value = std::strtoul(text.c_str(), nullptr, 10);
    return errno == 0 && value <= max;
}

bool ParseMs(const std::string& text, uint32_t& ms) {
    unsigned long n = 0;
    if (!ParseCount(text, kMaxMs, n)) return false;
    ms = static_cast<uint32_t>(n);
    return true;
}

// A chance from 0 to 1 ("0.005", "1e-3").
bool ParseChance(const std::string& text, double& chance) {
    if (text.empty()) return false;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !(value >= 0.0 && value <= 1.0)) return false;
    chance = value;
    return true;
}

// The text before and after the first `separator`; false when there is none.
bool SplitAt(const std::string& text, char separator, std::string& head, std::string& tail) {
    const size_t at = text.find(separator);
    if (at == std::string::npos) return false;
    head = text.substr(0, at);
    tail = text.substr(at + 1);
    return true;
}

bool TakeSpeed(const std::string& value, LineOptions& options) {
    unsigned long n = 0;
    if (!ParseCount(value, kMaxLineSpeed, n)) return false;
    options.bitsPerSecond = static_cast<uint32_t>(n);
    return true;
}

// "MS" or "MIN-MAX".
bool TakeReplyDelay(const std::string& value, LineOptions& options) {
    std::string low = value;
    std::string high = value;
    SplitAt(value, '-', low, high);
    uint32_t min = 0;
    uint32_t max = 0;
    if (!ParseMs(low, min) || !ParseMs(high, max) || min > max) return false;
    options.replyDelayMinMs = min;
    options.replyDelayMaxMs = max;
    return true;
}

bool TakeBurst(const std::string& value, LineOptions& options) {
    unsigned long n = 0;
    if (!ParseCount(value, kMaxBurstMs, n)) return false;
    options.burstMs = static_cast<uint32_t>(n);
    return true;
}

// "CHANCE:MS".
bool TakeReplyGap(const std::string& value, LineOptions& options) {
    std::string chance;
    std::string ms;
    return SplitAt(value, ':', chance, ms) && ParseChance(chance, options.gapChance) && ParseMs(ms, options.gapMs);
}

bool TakeNoise(const std::string& value, LineOptions& options) { return ParseChance(value, options.noisePerByte); }

bool TakeSeed(const std::string& value, LineOptions& options) {
    unsigned long n = 0;
    if (!ParseCount(value, kMaxSeed, n)) return false;
    options.seed = static_cast<uint32_t>(n);
    return true;
}

struct FaultName {
    const char* name;
    LineFault fault;
};

constexpr FaultName kFaultNames[] = {
    {"late", LineFault::Late},   {"gap", LineFault::Gap},     {"length", LineFault::Length},
    {"flip", LineFault::Flip},   {"short", LineFault::Short}, {"stray", LineFault::Stray},
    {"split-echo", LineFault::SplitEcho}, {"silence", LineFault::Silence},
};

bool LookUpFault(const std::string& name, LineFault& fault) {
    for (const auto& entry : kFaultNames) {
        if (name == entry.name) {
            fault = entry.fault;
            return true;
        }
    }
    return false;
}

// "HEADER:N:KIND" or, for late and gap, "HEADER:N:KIND:MS".
bool TakeFault(const std::string& value, LineOptions& options) {
    std::string header;
    std::string rest;
    std::string nth;
    std::string kind;
    if (!SplitAt(value, ':', header, rest) || !SplitAt(rest, ':', nth, kind)) return false;
    std::string ms;
    const bool timed = SplitAt(std::string(kind), ':', kind, ms);
    LineFaultAt at;
    unsigned long n = 0;
    if (!ParseCount(header, kMaxHeader, n)) return false;
    at.header = static_cast<uint8_t>(n);
    if (!ParseCount(nth, kMaxNth, n) || n == 0) return false;
    at.nth = static_cast<unsigned>(n);
    if (!LookUpFault(kind, at.fault)) return false;
    if (timed && ((at.fault != LineFault::Late && at.fault != LineFault::Gap) || !ParseMs(ms, at.ms) || at.ms == 0)) {
        return false;
    }
    options.faults.push_back(at);
    return true;
}

struct LineOption {
    const char* name;
    const char* takes; // for the error message
    bool (*take)(const std::string&, LineOptions&);
};

const LineOption kLineOptions[] = {
    {"--line-speed", "bits per second, 0..4000000", TakeSpeed},
    {"--reply-delay", "MS or MIN-MAX, 0..60000 ms", TakeReplyDelay},
    {"--burst", "0..1000 ms", TakeBurst},
    {"--reply-gap", "CHANCE:MS, a chance 0..1 and 0..60000 ms", TakeReplyGap},
    {"--noise", "a chance per byte, 0..1", TakeNoise},
    {"--noise-seed", "0..4294967295", TakeSeed},
    {"--line-fault",
     "HEADER:N:KIND, a header 0..255, N from 1, KIND late, gap, length, flip, short, stray, split-echo or "
     "silence (late and gap may add :MS)",
     TakeFault},
};

} // namespace

bool TakeLineOption(const std::vector<std::string>& args, size_t& i, LineOptions& options, std::string& error) {
    for (const auto& option : kLineOptions) {
        if (args[i] != option.name) continue;
        if (i + 1 >= args.size()) {
            error = args[i] + " needs a value";
            return true;
        }
        const std::string& value = args[++i];
        if (!option.take(value, options)) error = std::string(option.name) + " takes " + option.takes + ", not " + value;
        return true;
    }
    return false;
}

const char* LineOptionsHelp() {
    return "the line between the acceptor and the host:\n"
           "  --line-speed BPS          pace every byte at 10 bits at this speed (0 = no pacing)\n"
           "  --reply-delay MS|MIN-MAX  the reply starts this long after the request (a random\n"
           "                            time from MIN to MAX)\n"
           "  --burst MS                bytes reach the host only every MS, as from a USB adapter\n"
           "  --reply-gap CHANCE:MS     with this chance a reply pauses MS after a random byte\n"
           "  --noise CHANCE            chance per byte, either way, of one bit flipped\n"
           "  --noise-seed N            seed of the line's random draws (default 1)\n"
           "  --line-fault HEADER:N:KIND[:MS]\n"
           "      spoils the reply to the Nth request with this header (byte 3), once;\n"
           "      KIND: late (62 ms more, or MS), gap (a 60 ms pause halfway, or MS), length\n"
           "      (length byte one smaller), flip (one bit), short (2 bytes cut), stray (3\n"
           "      bytes before it), split-echo (last echo byte 30 ms late), silence (none)\n";
}

} // namespace sim
