// When bytes are on the line: a wire that carries one byte at a time at its
// speed, and the host-bound schedule, the chunks of bytes with the time each
// is handed to the host. Times are passed in, never read from a clock, so
// the schedule is the same in a test as on a pty.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace sim {

// A moment, as the time since any fixed start (the server's steady clock).
using LineTime = std::chrono::nanoseconds;

// One direction of the line: a byte takes 10 bits, and the next byte waits
// until the one before it is through.
class LineWire {
public:
    explicit LineWire(uint32_t bitsPerSecond);

    // The time at which a byte put on the wire at `start` has arrived at the
    // other end; the wire is busy until then.
    LineTime Carry(LineTime start);
    // Keeps the wire quiet for `length` after what it carries now, or after
    // `start` when it is free by then.
    void Rest(LineTime start, LineTime length);
    LineTime ByteTime() const { return byteTime_; }

private:
    LineTime byteTime_;
    LineTime free_{0};
};

// The moment an adapter that hands bytes over every `burst` (0 = at once)
// hands over a byte that was through at `through`.
LineTime BurstHandOver(LineTime through, LineTime burst);

// A pause on the wire before byte `before` of a chunk.
struct LinePause {
    size_t before = 0;
    LineTime length{0};
};

class HostSchedule {
public:
    // bitsPerSecond 0 = unpaced; burstMs 0 = each byte as it arrives,
    // otherwise at the next multiple of burstMs.
    HostSchedule(uint32_t bitsPerSecond, uint32_t burstMs);

    // Puts `bytes` on the wire, the first no earlier than `start` and after
    // everything sent before them, with the pauses given. Returns the moment
    // each byte is through.
    std::vector<LineTime> Send(const std::vector<uint8_t>& bytes, LineTime start,
                               const std::vector<LinePause>& pauses = {});

    // Appends the bytes due by `now` to `out`, in order, and forgets them.
    void TakeDue(LineTime now, std::vector<uint8_t>& out);

    // When the next chunk is due; LineTime::max() when nothing waits.
    LineTime NextDue() const;
    LineTime ByteTime() const { return wire_.ByteTime(); }

private:
    void Add(LineTime due, uint8_t byte);

    struct Chunk {
        LineTime due;
        std::vector<uint8_t> bytes;
    };

    LineWire wire_;
    LineTime burst_;
    std::deque<Chunk> chunks_; // due times never go down
};

} // namespace sim
