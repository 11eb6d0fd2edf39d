// Faults the virtual acceptor plays on demand, one rule at a time.
#pragma once

#include <cstdint>
#include <vector>

namespace sim {

enum class DucatFault {
    Silence,        // no answer at all
    ShortReply,     // the reply stops `value` bytes early (0 = half of it)
    WrongLength,    // the head announces one data byte too many
    WrongChecksum,  // the last byte is off by one
    WrongCrc,       // the payload CRC-16 is off by one
    WrongPage,      // a log page answers with the next page's number
    Refuse,         // a write answers with status `value`
    RepeatFragment, // a coin fragment is not taken: status = its own number
    LineError,      // the host's port reports a framing error afterwards
};

constexpr int kAnyFunction = -1;
constexpr int kForever = -1;

struct DucatFaultRule {
    DucatFault kind = DucatFault::Silence;
    int function = kAnyFunction; // function code it applies to
    int times = 1;               // requests it spoils; kForever = all
    int value = 0;
    int after = 0;               // matching requests it lets pass first
};

// Rules in the order they were added. Every matching rule counts the
// request against its `after`; the first one with nothing left to let pass
// applies and uses up one of its times.
class DucatFaultPlan {
public:
    void Add(const DucatFaultRule& rule) { rules_.push_back(rule); }
    void Clear() { rules_.clear(); }
    // The rule that spoils a request of `function`, or null.
    const DucatFaultRule* Take(uint8_t function);

private:
    std::vector<DucatFaultRule> rules_;
    DucatFaultRule taken_;
};

} // namespace sim
