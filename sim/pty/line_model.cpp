#include "sim/pty/line_model.h"

#include <algorithm>

namespace sim {
namespace {

using std::chrono::milliseconds;

// Host bytes read with a longer pause between them belong to two requests.
constexpr LineTime kRequestGap = milliseconds(5);
constexpr LineTime kTickPeriod = milliseconds(10);
constexpr LineTime kSplitEchoDelay = milliseconds(30);
constexpr size_t kHeaderAt = 3;
constexpr size_t kLengthAt = 1;
constexpr size_t kShortBy = 2;
constexpr size_t kStrayBytes = 3;
constexpr uint32_t kBitsInByte = 8;
constexpr double kDrawSpan = 4294967296.0; // every draw of std::mt19937 is 32 bits

} // namespace

LineModel::LineModel(Device& device, LineOptions options, uint32_t idleGapMs, bool tapped)
    : device_(device),
      options_(std::move(options)),
      idleGap_(milliseconds(idleGapMs)),
      toDevice_(options_.bitsPerSecond),
      toHost_(options_.bitsPerSecond, options_.burstMs),
      tapped_(tapped),
      tap_(options_.burstMs),
      random_(options_.seed) {}

void LineModel::FromHost(const uint8_t* data, size_t n, LineTime now) {
    if (n == 0) return;
    // What the host writes in one go is one request: a pause, or an answer
    // from the device, ends it.
    bool starts = !read_ || answeredSinceRead_ || now - lastRead_ > kRequestGap;
    read_ = true;
    answeredSinceRead_ = false;
    lastRead_ = now;
    for (size_t i = 0; i < n; ++i) {
        pending_.push_back({data[i], toDevice_.Carry(now), starts});
        starts = false;
    }
}

void LineModel::Advance(LineTime now) {
    const bool heard = !pending_.empty() && pending_.front().arrival <= now;
    Deliver(now);
    IdleCheck(now);
    if (heard || now >= nextTick_) {
        std::vector<uint8_t> out;
        device_.OnTick(static_cast<uint64_t>(std::chrono::duration_cast<milliseconds>(now).count()), out);
        nextTick_ = now + kTickPeriod;
        // What a device sends on its own is a reply it held back.
        if (!out.empty()) SendReply(std::move(out), now);
    }
}

void LineModel::TakeForHost(LineTime now, std::vector<uint8_t>& out) {
    const size_t before = out.size();
    toHost_.TakeDue(now, out);
    counters_.toHost += out.size() - before;
}

void LineModel::TakeForTap(LineTime now, std::vector<uint8_t>& out) {
    const size_t before = out.size();
    tap_.TakeDue(now, out);
    counters_.toTap += out.size() - before;
}

LineTime LineModel::NextDue() const {
    LineTime next = std::min(toHost_.NextDue(), nextTick_);
    if (tapped_) next = std::min(next, tap_.NextDue());
    if (!pending_.empty()) next = std::min(next, pending_.front().arrival);
    if (partial_) next = std::min(next, lastArrival_ + idleGap_ + LineTime{1});
    return next;
}

void LineModel::IdleCheck(LineTime at) {
    if (!partial_ || at - lastArrival_ <= idleGap_) return;
    device_.OnLineIdle();
    partial_ = false;
}

// Hands the device what has arrived by `now`, one call per request at most,
// so each answer belongs to one request.
void LineModel::Deliver(LineTime now) {
    std::vector<uint8_t> given;
    std::vector<uint8_t> out;
    while (!pending_.empty() && pending_.front().arrival <= now) {
        const LineTime first = pending_.front().arrival;
        IdleCheck(first);
        given.clear();
        do {
            const HostByte byte = pending_.front();
            pending_.pop_front();
            TakeRequestByte(byte);
            given.push_back(Noisy(byte.value, counters_.flippedToDevice));
            if (tapped_) tap_.Hear(byte.arrival, given.back());
            lastArrival_ = byte.arrival;
        } while (!pending_.empty() && pending_.front().arrival <= now && !pending_.front().startsRequest);
        counters_.toDevice += given.size();
        request_.end = lastArrival_;
        partial_ = true;
        out.clear();
        device_.OnBytes(given.data(), given.size(), out);
        const bool complete = pending_.empty() || pending_.front().startsRequest;
        // The device's own echo comes first: exactly the bytes it was given.
        const bool echoed = out.size() >= given.size() && std::equal(given.begin(), given.end(), out.begin());
        const auto replyBegins = out.begin() + static_cast<std::ptrdiff_t>(echoed ? given.size() : 0);
        if (echoed) SendEcho(std::vector<uint8_t>(out.begin(), replyBegins), first, complete);
        if (replyBegins != out.end()) SendReply(std::vector<uint8_t>(replyBegins, out.end()), lastArrival_);
    }
}

void LineModel::TakeRequestByte(const HostByte& byte) {
    if (byte.startsRequest) {
        request_ = Request{};
        ++counters_.requests;
    }
    if (++request_.length != kHeaderAt + 1) return;
    const unsigned nth = ++headerCounts_[byte.value];
    for (const auto& fault : options_.faults) {
        if (fault.header == byte.value && fault.nth == nth) request_.faults.push_back(fault);
    }
}

void LineModel::SendEcho(std::vector<uint8_t> echo, LineTime firstArrival, bool requestComplete) {
    std::vector<LinePause> pauses;
    if (requestComplete && TakeFault(LineFault::SplitEcho)) pauses.push_back({echo.size() - 1, kSplitEchoDelay});
    for (auto& byte : echo) byte = Noisy(byte, counters_.flippedToHost);
    // As on a one-wire bus, the host hears each byte as it reaches the device.
    toHost_.Send(echo, firstArrival - toHost_.ByteTime(), pauses);
}

void LineModel::SendReply(std::vector<uint8_t> reply, LineTime producedAt) {
    answeredSinceRead_ = true;
    LineTime start = producedAt;
    std::vector<LinePause> pauses;
    if (!request_.answered) {
        // The first answer to a request is its reply: delayed, and spoilt by
        // the request's faults.
        request_.answered = true;
        if (TakeFault(LineFault::Silence)) return;
        LineTime delay = ReplyDelay();
        for (const auto& fault : request_.faults) {
            if (fault.fault == LineFault::SplitEcho) continue;
            ++counters_.faultsFired;
            if (fault.fault == LineFault::Late) delay += milliseconds(fault.ms != 0 ? fault.ms : options_.lateMs);
            Spoil(fault, reply, pauses);
        }
        request_.faults.clear();
        start = std::max(start, request_.end + delay);
    }
    if (reply.size() > 1 && Chance(options_.gapChance)) {
        pauses.push_back({1 + Below(static_cast<uint32_t>(reply.size() - 1)), milliseconds(options_.gapMs)});
    }
    for (auto& byte : reply) byte = Noisy(byte, counters_.flippedToHost);
    const std::vector<LineTime> through = toHost_.Send(reply, start, pauses);
    if (tapped_) tap_.Hear(through, reply);
}

LineTime LineModel::ReplyDelay() {
    const uint32_t min = options_.replyDelayMinMs;
    const uint32_t max = std::max(min, options_.replyDelayMaxMs);
    return milliseconds(max > min ? min + Below(max - min + 1) : min);
}

void LineModel::Spoil(const LineFaultAt& fault, std::vector<uint8_t>& reply, std::vector<LinePause>& pauses) {
    switch (fault.fault) {
    case LineFault::Gap:
        pauses.push_back({std::max<size_t>(1, reply.size() / 2), milliseconds(fault.ms != 0 ? fault.ms : options_.gapFaultMs)});
        break;
    case LineFault::Length:
        if (reply.size() > kLengthAt) --reply[kLengthAt];
        break;
    case LineFault::Flip:
        if (!reply.empty()) reply[Below(static_cast<uint32_t>(reply.size()))] ^= static_cast<uint8_t>(1u << Below(kBitsInByte));
        break;
    case LineFault::Short:
        reply.resize(reply.size() - std::min(kShortBy, reply.size()));
        break;
    case LineFault::Stray:
        for (size_t i = 0; i < kStrayBytes; ++i) reply.insert(reply.begin(), static_cast<uint8_t>(random_()));
        for (auto& pause : pauses) pause.before += kStrayBytes;
        break;
    case LineFault::Late:
    case LineFault::SplitEcho:
    case LineFault::Silence:
        break; // timing and dropping are the caller's
    }
}

// Takes the request's fault of this kind, if it has one, counting it fired.
bool LineModel::TakeFault(LineFault kind) {
    const auto it = std::find_if(request_.faults.begin(), request_.faults.end(),
                                 [kind](const LineFaultAt& f) { return f.fault == kind; });
    if (it == request_.faults.end()) return false;
    request_.faults.erase(it);
    ++counters_.faultsFired;
    return true;
}

bool LineModel::Chance(double chance) {
    // No draw for a chance of 0, so a line without noise draws nothing.
    return chance > 0 && static_cast<double>(random_()) < chance * kDrawSpan;
}

uint32_t LineModel::Below(uint32_t n) { return static_cast<uint32_t>(random_() % n); }

uint8_t LineModel::Noisy(uint8_t byte, uint64_t& flipped) {
    if (!Chance(options_.noisePerByte)) return byte;
    ++flipped;
    return static_cast<uint8_t>(byte ^ (1u << Below(kBitsInByte)));
}

} // namespace sim
