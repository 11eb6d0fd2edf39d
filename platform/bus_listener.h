// Listening to a line without taking part (`sniff` of both programs): the
// bytes a port hears go through the program's cutter as they come, and
// every line it gives goes out stamped with the time its first byte was
// heard. A gap of more than 50 ms between bytes ends a frame, as ccTalk
// has it. Requests are paired with the reply that follows them; a host's
// frame repeated right behind itself, with no silence between, is its echo
// (a tap that hears the host's bytes twice) and is shown so. The counts are
// what the one-line summary at the end tells.
#pragma once

#include "platform/heard_times.h"
#include "platform/serial_port.h"
#include "platform/trace_line.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

// No frame spans a longer silence between two of its bytes.
constexpr uint64_t kFrameGapMs = 50;

// A program's cutter as the listener drives it: its Feed and Finish.
struct LineCutter {
    std::function<std::vector<TraceLine>(const uint8_t* bytes, size_t n, size_t offset)> feed;
    std::function<std::vector<TraceLine>()> finish;
};

// The cutter of a class with Feed and Finish; `cutter` outlives it.
template <class Cutter>
LineCutter CutterOf(Cutter& cutter) {
    return LineCutter{[&cutter](const uint8_t* b, size_t n, size_t offset) { return cutter.Feed(b, n, offset); },
                      [&cutter] { return cutter.Finish(); }};
}

struct ListenCounts {
    size_t frames = 0;     // host, echo and device lines
    size_t paired = 0;     // requests answered by the next frame
    size_t noiseBytes = 0; // bytes in no frame that holds
};

// "sniff: 12 frames, 6 requests paired, 0 noise bytes".
std::string ListenCountsText(const ListenCounts& counts);

class BusListener {
public:
    using LineSink = std::function<void(const TraceLine&)>;

    BusListener(LineCutter cutter, LineSink sink);

    // `n` bytes heard at `nowMs` of a steady clock, stamped `time`.
    void Heard(const uint8_t* bytes, size_t n, uint64_t nowMs, const std::string& time);
    // Nothing more heard by `nowMs`: a silence of more than kFrameGapMs
    // decides every byte heard.
    void Silence(uint64_t nowMs);
    // The end of the listening: every byte heard is decided.
    void End();

    const ListenCounts& Counts() const { return counts_; }

private:
    void Emit(std::vector<TraceLine> lines);
    void Count(TraceLine& line);

    LineCutter cutter_;
    LineSink sink_;
    HeardTimes times_;
    ListenCounts counts_;
    size_t offset_ = 0;       // bytes heard
    uint64_t lastHeardMs_ = 0;
    bool undecided_ = false;  // bytes the cutter holds back
    bool requestOpen_ = false;
    std::vector<uint8_t> lastHost_; // the host's frame, while only its echo may follow
};

// The meaning of an echo line.
constexpr char kEchoMeaning[] = "echo of the request";

// What a listening on a port asks for.
struct ListenSettings {
    uint32_t baudRate = 9600;
    uint64_t timeoutMs = 0; // 0: until `stop` says so
};

// Each read of the port: the bytes as they came, with the time stamp of
// their lines (`--raw FILE`).
using HeardSink = std::function<void(const TraceLine& raw)>;

// Sets the line (the speed, 8 data bits, no parity, one stop bit; the rest
// as the port holds it) and the read limits of a listening, and drops what
// the port received before (a pty, or a driver's buffer, may hold bytes of
// long ago: the listening hears the line from now on). Nothing is written,
// and nothing is purged later. False with the system's error number in
// `error` when the port refuses.
bool PrepareListening(SerialPort& port, uint32_t baudRate, uint32_t& error);

// Reads the port and hands every byte to `listener` (and `heard`, when
// set) until `stop` returns true or the timeout passes; then ends the
// listener. Never writes: only reads. False with the
// system's error number in `error` when a read fails (a line that is gone).
bool ListenOnPort(SerialPort& port, const ListenSettings& settings, BusListener& listener, const HeardSink& heard,
                  const std::function<bool()>& stop, uint32_t& error);

} // namespace platform
