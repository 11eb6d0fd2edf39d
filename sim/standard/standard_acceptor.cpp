// The standard acceptor's bus side: echo, framing, faults, and coins.
#include "sim/standard/standard_acceptor.h"

namespace sim {
namespace {

constexpr size_t kFrameOverhead = 5; // destination, length, source, header ... checksum
constexpr size_t kMaxLoggedRequests = 256;
constexpr uint8_t kNakHeader = 5;
constexpr size_t kOversizeData = 96;
constexpr size_t kShortReplyMissing = 3;
constexpr uint8_t kErrorRejected = 1;
constexpr uint8_t kErrorInhibited = 2;
constexpr uint64_t kLateReplyMs = 1000;

uint8_t Sum(const uint8_t* bytes, size_t n) {
    unsigned sum = 0;
    for (size_t i = 0; i < n; ++i) sum += bytes[i];
    return static_cast<uint8_t>(sum);
}

} // namespace

StandardAcceptor::StandardAcceptor(StandardConfig config)
    : config_(std::move(config)), opto_(config_.optoStates), random_(config_.seed) {
    for (int p = 0; p < kStandardCoinPositions; ++p) {
        paths_[static_cast<size_t>(p)] = {static_cast<uint8_t>(p % 5 + 1), 0, 0, 0};
    }
}

void StandardAcceptor::InjectFault(StandardFault fault, int times) {
    for (int i = 0; i < times; ++i) faults_.push_back(fault);
}

void StandardAcceptor::OnBytes(const uint8_t* data, size_t n, std::vector<uint8_t>& out) {
    if (config_.echo) out.insert(out.end(), data, data + n);
    // The bus still hands the host's bytes back while the receiver is off.
    if (addressPoll_.Deaf()) return;
    rx_.insert(rx_.end(), data, data + n);
    while (rx_.size() >= 2 && rx_.size() >= kFrameOverhead + rx_[1]) {
        const size_t length = kFrameOverhead + rx_[1];
        const std::vector<uint8_t> frame(rx_.begin(), rx_.begin() + static_cast<std::ptrdiff_t>(length));
        rx_.erase(rx_.begin(), rx_.begin() + static_cast<std::ptrdiff_t>(length));
        TakeFrame(frame, out);
        if (addressPoll_.Deaf()) rx_.clear();
    }
}

void StandardAcceptor::TakeFrame(const std::vector<uint8_t>& frame, std::vector<uint8_t>& out) {
    if (TakeAddressPoll(frame)) return;
    // Frames for other devices and damaged frames go unanswered, as on a bus.
    if (frame[0] != config_.address || Sum(frame.data(), frame.size()) != 0) return;
    const uint8_t header = frame[3];
    std::vector<uint8_t> data(frame.begin() + 4, frame.end() - 1);
    LogRequest(header, data);
    if (config_.unknownHeaders.test(header)) return;
    SendAnswer(frame[2], AnswerTo(header, data), out);
}

void StandardAcceptor::LogRequest(uint8_t header, const std::vector<uint8_t>& data) {
    requests_.push_back({header, data});
    if (requests_.size() > kMaxLoggedRequests) requests_.pop_front();
}

// The polls answered with a raw byte at a time of the device's own (the
// broadcast one is the only frame to address 0 a device takes). True when
// the frame was one.
bool StandardAcceptor::TakeAddressPoll(const std::vector<uint8_t>& frame) {
    const uint8_t header = frame[3];
    const bool broadcast = frame[0] == kBroadcastAddress && header == kBroadcastAddressPoll;
    const bool clash = frame[0] == config_.address && header == kAddressClashPoll;
    if ((!broadcast && !clash) || frame[1] != 0 || Sum(frame.data(), frame.size()) != 0) return false;
    LogRequest(header, {});
    if (config_.unknownHeaders.test(header)) return true;
    if (broadcast) {
        addressPoll_.HeardBroadcast(config_.address);
    } else {
        addressPoll_.HeardClashPoll(config_.address, ClashSlot());
    }
    return true;
}

uint32_t StandardAcceptor::ClashSlot() {
    if (clashSlots_.empty()) return std::uniform_int_distribution<uint32_t>(0, kClashSlots - 1)(random_);
    const uint8_t slot = clashSlots_.front();
    clashSlots_.pop_front();
    return slot;
}

void StandardAcceptor::SendAnswer(uint8_t destination, Answer a, std::vector<uint8_t>& out) {
    if (a.silent) return;
    size_t missing = 0;
    bool badChecksum = false;
    bool late = false;
    if (!faults_.empty()) {
        const StandardFault fault = faults_.front();
        faults_.pop_front();
        switch (fault) {
        case StandardFault::Silent: return;
        case StandardFault::BadChecksum: badChecksum = true; break;
        case StandardFault::ExtraData: a.data.push_back(0); break;
        case StandardFault::Nak: a = Answer{false, kNakHeader, {}}; break;
        case StandardFault::Oversize: a.data.assign(kOversizeData, 0); break;
        case StandardFault::ShortReply: missing = kShortReplyMissing; break;
        case StandardFault::Late: late = true; break;
        }
    }
    std::vector<uint8_t> frame{destination, static_cast<uint8_t>(a.data.size() + missing), config_.address, a.header};
    frame.insert(frame.end(), a.data.begin(), a.data.end());
    frame.push_back(static_cast<uint8_t>(0x100 - Sum(frame.data(), frame.size()) + (badChecksum ? 1 : 0)));
    if (late) {
        late_ = frame;
        lateDueMs_ = nowMs_ + kLateReplyMs;
        return;
    }
    out.insert(out.end(), frame.begin(), frame.end());
}

uint8_t StandardAcceptor::Route(int position) const {
    const SorterPathSet& paths = paths_[static_cast<size_t>(position - 1)];
    const size_t tried = config_.longSorter ? paths.size() : 1;
    for (size_t k = 0; k < tried; ++k) {
        const uint8_t path = paths[k];
        const bool full = path >= 1 && path <= 8 && (overrideMask_ & (1u << (path - 1))) == 0;
        if (path != 0 && !full) return path;
    }
    return defaultPath_;
}

void StandardAcceptor::InsertCoin(int position) {
    if (teaching_) {
        if (++teachCount_ >= config_.teachCoins) {
            teaching_ = false;
            teachStatus_ = 255;
        }
        return;
    }
    if (position < 1 || position > kStandardCoinPositions || config_.coins[static_cast<size_t>(position - 1)].id.empty()) {
        ReportError(kErrorRejected);
        return;
    }
    const bool enabled = (inhibitMask_ & (1u << (position - 1))) != 0;
    if ((master_ & 0x01) == 0 || !enabled) {
        ReportError(kErrorInhibited);
        return;
    }
    if (acceptLimit_ != 0) accepted_ += config_.coins[static_cast<size_t>(position - 1)].value;
    PushEvent(static_cast<uint8_t>(position), Route(position));
}

void StandardAcceptor::InsertRandomCoin() {
    std::vector<int> programmed;
    for (int p = 1; p <= kStandardCoinPositions; ++p) {
        if (!config_.coins[static_cast<size_t>(p - 1)].id.empty()) programmed.push_back(p);
    }
    std::uniform_real_distribution<double> share(0.0, 1.0);
    if (programmed.empty() || share(random_) < config_.rejectShare) {
        ReportError(kErrorRejected);
        return;
    }
    std::uniform_int_distribution<size_t> pick(0, programmed.size() - 1);
    InsertCoin(programmed[pick(random_)]);
}

void StandardAcceptor::OnTick(uint64_t nowMs, std::vector<uint8_t>& out) {
    nowMs_ = nowMs;
    addressPoll_.OnTick(nowMs, out);
    if (!late_.empty() && nowMs >= lateDueMs_) {
        out.insert(out.end(), late_.begin(), late_.end());
        late_.clear();
    }
    if (config_.coinsPerSecond <= 0) return;
    std::exponential_distribution<double> gap(config_.coinsPerSecond);
    if (nextCoinMs_ == 0) nextCoinMs_ = nowMs + static_cast<uint64_t>(1000.0 * gap(random_));
    if (nowMs < nextCoinMs_) return;
    InsertRandomCoin();
    nextCoinMs_ = nowMs + static_cast<uint64_t>(1000.0 * gap(random_));
}

} // namespace sim
