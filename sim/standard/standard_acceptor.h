// A standard ccTalk coin acceptor on a one-wire bus, for Pollbench: identity,
// coin table, inhibits, sorter, event buffer, teach mode, accept limit, and
// faults on demand.
#pragma once

#include "sim/pty/device.h"
#include "sim/standard/standard_address_poll.h"
#include "sim/standard/standard_config.h"
#include "sim/standard/standard_event_buffer.h"

#include <deque>
#include <random>

namespace sim {

// Ways the next replies can go wrong.
enum class StandardFault {
    Silent,      // no reply at all
    BadChecksum, // the checksum byte is off by one
    ExtraData,   // one data byte more than the reply has
    Nak,         // a negative acknowledgement instead of the reply
    Oversize,    // a well-formed reply of 96 data bytes
    ShortReply,  // the length byte announces more bytes than follow
    Late,        // the reply comes a second late, long after the host gave up on it
};

// A request the device took (addressed to it, checksum right).
struct StandardRequest {
    uint8_t header = 0;
    std::vector<uint8_t> data;
};

using SorterPathSet = std::array<uint8_t, 4>;

class StandardAcceptor : public Device {
public:
    explicit StandardAcceptor(StandardConfig config = {});

    void OnBytes(const uint8_t* data, size_t n, std::vector<uint8_t>& out) override;
    void OnTick(uint64_t nowMs, std::vector<uint8_t>& out) override;
    void OnLineIdle() override { rx_.clear(); }

    // Script: a coin at a position goes the way the device's settings say
    // (credit, inhibited, rejected, or a teach sample).
    void InsertCoin(int position);
    void PushEvent(uint8_t resultA, uint8_t resultB) { events_.Push(resultA, resultB); }
    void ReportError(uint8_t code) { events_.Push(0, code); }
    void SetEventCounter(uint8_t counter) { events_.SetCounter(counter); }
    void ResetCounter() { events_.Reset(); } // what a power cycle does to the buffer

    void InjectFault(StandardFault fault, int times = 1);
    // The slots (0 to 255) the next clash polls are answered in, one a poll;
    // the device draws them again when these are used up.
    void ScriptClashSlots(const std::vector<uint8_t>& slots) { clashSlots_.assign(slots.begin(), slots.end()); }
    void SetEcho(bool on) { config_.echo = on; }
    void SetHeaderKnown(uint8_t header, bool known) { config_.unknownHeaders.set(header, !known); }
    void SetOptoStates(uint8_t bits) { opto_ = bits; }
    void SetSorterPaths(int position, const SorterPathSet& paths) { paths_[static_cast<size_t>(position - 1)] = paths; }
    void SetSorterOverride(uint8_t mask) { overrideMask_ = mask; }
    void SetAcceptLimit(uint32_t limit) {
        acceptLimit_ = limit;
        accepted_ = 0;
    }

    StandardConfig& Config() { return config_; }
    uint8_t EventCounter() const { return events_.Counter(); }
    const StandardEventTally& EventTally() const { return events_.Tally(); }
    uint16_t InhibitMask() const { return inhibitMask_; } // bit p-1 set = position p enabled
    uint8_t MasterInhibit() const { return master_; }
    const SorterPathSet& SorterPaths(int position) const { return paths_[static_cast<size_t>(position - 1)]; }
    uint8_t DefaultPath() const { return defaultPath_; }
    uint8_t OverrideMask() const { return overrideMask_; }
    bool Teaching() const { return teaching_; }
    uint8_t OutputLines() const { return outputLines_; }
    uint8_t Motors() const { return motors_; }
    uint32_t AcceptLimit() const { return acceptLimit_; }
    // The latest requests, oldest first.
    const std::deque<StandardRequest>& Requests() const { return requests_; }

private:
    struct Answer {
        bool silent = false;
        uint8_t header = 0;
        std::vector<uint8_t> data;
    };

    void TakeFrame(const std::vector<uint8_t>& frame, std::vector<uint8_t>& out);
    bool TakeAddressPoll(const std::vector<uint8_t>& frame);
    uint32_t ClashSlot();
    void LogRequest(uint8_t header, const std::vector<uint8_t>& data);
    void SendAnswer(uint8_t destination, Answer answer, std::vector<uint8_t>& out);
    Answer AnswerTo(uint8_t header, const std::vector<uint8_t>& data);
    bool AnswerReads(uint8_t header, const std::vector<uint8_t>& data, Answer& a) const;
    bool AnswerInhibits(uint8_t header, const std::vector<uint8_t>& data, Answer& a);
    bool AnswerSorter(uint8_t header, const std::vector<uint8_t>& data, Answer& a);
    bool AnswerActions(uint8_t header, const std::vector<uint8_t>& data, Answer& a);
    uint8_t Route(int position) const;
    void InsertRandomCoin();

    StandardConfig config_;
    StandardEventBuffer events_;
    std::vector<uint8_t> rx_;
    std::deque<StandardFault> faults_;
    std::deque<uint8_t> clashSlots_;
    AddressPollAnswer addressPoll_;
    uint64_t nowMs_ = 0;           // the latest tick's time
    std::vector<uint8_t> late_;    // a reply held back by the Late fault
    uint64_t lateDueMs_ = 0;
    std::deque<StandardRequest> requests_;

    uint16_t inhibitMask_ = 0;
    uint8_t master_ = 1; // bit 0 set = normal operation
    std::array<SorterPathSet, kStandardCoinPositions> paths_{};
    uint8_t defaultPath_ = 1;
    uint8_t overrideMask_ = 0xFF; // bit k-1 clear = outlet k full
    uint8_t opto_ = 0;
    uint8_t outputLines_ = 0;
    uint8_t motors_ = 0;
    bool teaching_ = false;
    uint8_t teachCount_ = 0;
    uint8_t teachStatus_ = 0;
    uint32_t acceptLimit_ = 0;
    uint32_t accepted_ = 0;

    std::mt19937 random_;
    uint64_t nextCoinMs_ = 0;
};

} // namespace sim
