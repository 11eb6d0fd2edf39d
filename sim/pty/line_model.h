// The serial line between the host and a Device: what the host wrote reaches
// the device at the line's pace (with noise); what the device answers goes
// back as the echo (at once, as on a one-wire bus) and the reply (after the
// reply delay, with gaps, one-shot faults and noise), handed to the host as
// the wire and the adapter's bursts allow. A tapped line also hands a tap
// every byte on the wire once, in wire order: the host's as the device hears
// them (the echo is those very bytes on a one-wire bus) and the device's
// answers as the host hears them. The two directions never garble each
// other: an answer a device gives while the host is still writing (a clash
// poll's slot 0 while the next polls go out) waits its turn on the
// host-bound wire and reaches the host between the bytes of the echo, as an
// adapter that hears both would pass it on. The caller passes the time and
// carries the bytes; the model never sleeps and never touches a pty.
#pragma once

#include "sim/pty/device.h"
#include "sim/pty/line_options.h"
#include "sim/pty/line_schedule.h"
#include "sim/pty/line_tap.h"

#include <cstdint>
#include <deque>
#include <map>
#include <random>
#include <vector>

namespace sim {

struct LineCounters {
    uint64_t toDevice = 0;        // bytes handed to the device
    uint64_t toHost = 0;          // bytes handed to the host, echo included
    uint64_t flippedToDevice = 0; // bytes the noise spoiled on their way to the device
    uint64_t flippedToHost = 0;   // ... on their way to the host
    uint64_t requests = 0;        // requests the host wrote
    uint64_t faultsFired = 0;     // one-shot faults that spoiled something
    uint64_t toTap = 0;           // bytes handed to the tap
    uint64_t droppedFromTap = 0;  // bytes the tap wrote, which go nowhere
    uint64_t lostToTap = 0;       // bytes a tap nobody read had no room for
};

class LineModel {
public:
    // `idleGapMs`: silence after which the device hears OnLineIdle;
    // `tapped`: a tap listens (TakeForTap).
    LineModel(Device& device, LineOptions options, uint32_t idleGapMs, bool tapped = false);

    // Bytes the host wrote, read at `now`.
    void FromHost(const uint8_t* data, size_t n, LineTime now);

    // Does what is due by `now`: hands the device the bytes that have
    // arrived, tells it of an idle line, ticks it, and schedules its answers.
    void Advance(LineTime now);

    // Appends the bytes due to the host by `now`.
    void TakeForHost(LineTime now, std::vector<uint8_t>& out);

    // Appends the bytes the tap has heard by `now`.
    void TakeForTap(LineTime now, std::vector<uint8_t>& out);
    // The tap wrote `n` bytes: a listener puts nothing on the bus.
    void DropFromTap(size_t n) { counters_.droppedFromTap += n; }
    // `n` bytes for the tap found no room (nobody reads it).
    void LostToTap(size_t n) { counters_.lostToTap += n; }

    // The next moment at which Advance, TakeForHost or TakeForTap has something to do.
    LineTime NextDue() const;

    const LineCounters& Counters() const { return counters_; }

private:
    struct HostByte {
        uint8_t value;
        LineTime arrival;   // at the device
        bool startsRequest; // the first byte of a request
    };

    // The request the device is hearing or has heard last.
    struct Request {
        size_t length = 0;
        LineTime end{0}; // when its last byte so far arrived
        bool answered = false;
        std::vector<LineFaultAt> faults; // still to fire
    };

    void Deliver(LineTime now);
    void IdleCheck(LineTime at);
    void TakeRequestByte(const HostByte& byte);
    void SendEcho(std::vector<uint8_t> echo, LineTime firstArrival, bool requestComplete);
    void SendReply(std::vector<uint8_t> reply, LineTime producedAt);
    LineTime ReplyDelay();
    void Spoil(const LineFaultAt& fault, std::vector<uint8_t>& reply, std::vector<LinePause>& pauses);
    bool TakeFault(LineFault kind);
    bool Chance(double chance);
    uint32_t Below(uint32_t n);
    uint8_t Noisy(uint8_t byte, uint64_t& flipped);

    Device& device_;
    LineOptions options_;
    LineTime idleGap_;
    LineWire toDevice_;
    HostSchedule toHost_;
    bool tapped_;
    LineTap tap_;
    std::mt19937 random_;
    std::deque<HostByte> pending_; // read, not yet handed to the device
    Request request_;
    std::map<uint8_t, unsigned> headerCounts_;
    LineTime lastRead_{0};
    bool read_ = false;           // the host has written something
    bool answeredSinceRead_ = false;
    bool partial_ = false;        // bytes came since the line was last idle
    LineTime lastArrival_{0};
    LineTime nextTick_{0};
    LineCounters counters_;
};

} // namespace sim
