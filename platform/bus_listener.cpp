#include "platform/bus_listener.h"

#include "platform/clock.h"
#include "platform/local_time.h"

#include <utility>

namespace platform {
namespace {

constexpr size_t kReadSize = 256;
// A read waits this long for bytes: short beside the frame gap, so a gap is
// measured to within it.
constexpr uint32_t kReadWaitMs = 10;

std::string Plural(size_t n, const char* one, const char* many) { return std::to_string(n) + " " + (n == 1 ? one : many); }

} // namespace

std::string ListenCountsText(const ListenCounts& counts) {
    return "sniff: " + Plural(counts.frames, "frame", "frames") + ", " +
           Plural(counts.paired, "request paired", "requests paired") + ", " +
           Plural(counts.noiseBytes, "noise byte", "noise bytes");
}

BusListener::BusListener(LineCutter cutter, LineSink sink) : cutter_(std::move(cutter)), sink_(std::move(sink)) {}

void BusListener::Heard(const uint8_t* bytes, size_t n, uint64_t nowMs, const std::string& time) {
    if (n == 0) return;
    Silence(nowMs);
    times_.Add(n, time);
    const size_t offset = offset_;
    offset_ += n;
    lastHeardMs_ = nowMs;
    undecided_ = true;
    Emit(cutter_.feed(bytes, n, offset));
}

void BusListener::Silence(uint64_t nowMs) {
    if (undecided_ && nowMs - lastHeardMs_ > kFrameGapMs) End();
}

void BusListener::End() {
    undecided_ = false;
    Emit(cutter_.finish());
    lastHost_.clear(); // an echo comes without a pause
}

void BusListener::Emit(std::vector<TraceLine> lines) {
    for (TraceLine& line : lines) {
        times_.Stamp(line);
        Count(line);
        sink_(line);
    }
}

void BusListener::Count(TraceLine& line) {
    if (line.direction == TraceDirection::Host && !lastHost_.empty() && line.bytes == lastHost_) {
        line.direction = TraceDirection::Echo;
        line.meaning = kEchoMeaning;
    }
    switch (line.direction) {
    case TraceDirection::Host:
        ++counts_.frames;
        requestOpen_ = true;
        lastHost_ = line.bytes;
        return;
    case TraceDirection::Device:
        ++counts_.frames;
        if (requestOpen_) ++counts_.paired;
        requestOpen_ = false;
        break;
    case TraceDirection::Echo: ++counts_.frames; break;
    case TraceDirection::Noise: counts_.noiseBytes += line.bytes.size(); break;
    default: break;
    }
    lastHost_.clear();
}

bool PrepareListening(SerialPort& port, uint32_t baudRate, uint32_t& error) {
    LineSettings line;
    if (!port.GetLine(line)) {
        error = port.LastError();
        return false;
    }
    line.baudRate = baudRate;
    line.byteSize = 8;
    line.parity = 0;
    line.stopBits = 0;
    line.parityCheck = false;
    Timeouts limits;
    limits.readTotalConstant = kReadWaitMs;
    if (!port.SetLine(line) || !port.SetTimeouts(limits) || !port.Purge(kPurgeRxAbort | kPurgeRxClear)) {
        error = port.LastError();
        return false;
    }
    return true;
}

bool ListenOnPort(SerialPort& port, const ListenSettings& settings, BusListener& listener, const HeardSink& heard,
                  const std::function<bool()>& stop, uint32_t& error) {
    const uint64_t start = SteadyMilliseconds();
    uint8_t buffer[kReadSize];
    bool readFine = true;
    while (!stop() && (settings.timeoutMs == 0 || SteadyMilliseconds() - start < settings.timeoutMs)) {
        size_t got = 0;
        readFine = port.Read(buffer, sizeof buffer, got);
        const uint64_t now = SteadyMilliseconds();
        if (got > 0) {
            const std::string time = LocalTimeText();
            if (heard) heard(TraceLine{time, TraceDirection::Raw, std::vector<uint8_t>(buffer, buffer + got),
                                       std::to_string(got) + (got == 1 ? " byte" : " bytes")});
            listener.Heard(buffer, got, now, time);
        } else {
            listener.Silence(now);
        }
        if (!readFine) {
            error = port.LastError();
            break;
        }
    }
    listener.End();
    return readFine;
}

} // namespace platform
