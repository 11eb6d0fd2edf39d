#include "sim/pty/line_schedule.h"

#include <algorithm>

namespace sim {
namespace {

constexpr int64_t kBitsPerByte = 10; // start, 8 data bits, stop

LineTime ByteTimeAt(uint32_t bitsPerSecond) {
    if (bitsPerSecond == 0) return LineTime{0};
    const int64_t bitsPerByteSecond = kBitsPerByte * std::chrono::duration_cast<LineTime>(std::chrono::seconds(1)).count();
    return LineTime{bitsPerByteSecond / bitsPerSecond};
}

} // namespace

LineWire::LineWire(uint32_t bitsPerSecond) : byteTime_(ByteTimeAt(bitsPerSecond)) {}

LineTime LineWire::Carry(LineTime start) {
    free_ = std::max(free_, start) + byteTime_;
    return free_;
}

void LineWire::Rest(LineTime start, LineTime length) { free_ = std::max(free_, start) + length; }

LineTime BurstHandOver(LineTime through, LineTime burst) {
    if (burst.count() == 0) return through;
    const auto bursts = (through.count() + burst.count() - 1) / burst.count();
    return LineTime{bursts * burst.count()};
}

HostSchedule::HostSchedule(uint32_t bitsPerSecond, uint32_t burstMs)
    : wire_(bitsPerSecond), burst_(std::chrono::milliseconds(burstMs)) {}

void HostSchedule::Add(LineTime due, uint8_t byte) {
    if (chunks_.empty() || chunks_.back().due != due) chunks_.push_back({due, {}});
    chunks_.back().bytes.push_back(byte);
}

std::vector<LineTime> HostSchedule::Send(const std::vector<uint8_t>& bytes, LineTime start,
                                         const std::vector<LinePause>& pauses) {
    std::vector<LineTime> through;
    through.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        for (const auto& pause : pauses) {
            if (pause.before == i) wire_.Rest(start, pause.length);
        }
        through.push_back(wire_.Carry(start));
        Add(BurstHandOver(through.back(), burst_), bytes[i]);
    }
    return through;
}

void HostSchedule::TakeDue(LineTime now, std::vector<uint8_t>& out) {
    while (!chunks_.empty() && chunks_.front().due <= now) {
        out.insert(out.end(), chunks_.front().bytes.begin(), chunks_.front().bytes.end());
        chunks_.pop_front();
    }
}

LineTime HostSchedule::NextDue() const { return chunks_.empty() ? LineTime::max() : chunks_.front().due; }

} // namespace sim
