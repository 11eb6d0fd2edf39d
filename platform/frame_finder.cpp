#include "platform/frame_finder.h"

#include <algorithm>
#include <utility>

namespace platform {

FrameFinder::FrameFinder(FrameRules rules, int state) : rules_(std::move(rules)), state_(state) {}

std::vector<StreamPiece> FrameFinder::Feed(const uint8_t* bytes, size_t n, size_t offset) {
    std::vector<StreamPiece> pieces;
    if (offset != headOffset_ + Left()) pieces = Finish();
    if (Left() == 0) headOffset_ = offset;
    if (head_ > 0 && head_ * 2 >= pending_.size()) { // decided bytes go before the buffer grows
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(head_));
        head_ = 0;
    }
    pending_.insert(pending_.end(), bytes, bytes + n);
    Decide(false, pieces);
    return pieces;
}

std::vector<StreamPiece> FrameFinder::Finish() {
    std::vector<StreamPiece> pieces;
    Decide(true, pieces);
    pending_.clear();
    last_.clear();
    head_ = 0;
    scan_ = 0;
    candidate_ = false;
    return pieces;
}

void FrameFinder::Decide(bool finishing, std::vector<StreamPiece>& pieces) {
    while (Left() > 0 && Step(finishing, pieces)) {
    }
}

bool FrameFinder::Step(bool finishing, std::vector<StreamPiece>& pieces) {
    if (candidate_ && scan_ >= candidateAt_ + candidateLength_) { // no confirmed frame starts inside it
        const size_t length = candidateLength_;
        TakeNoise(candidateAt_, pieces);
        TakeFrame(length, pieces);
        return true;
    }
    if ((candidate_ ? candidateAt_ : scan_) >= kLongestNoise) {
        TakeNoise(kLongestNoise, pieces);
        return true;
    }
    if (scan_ >= Left()) {
        if (!finishing) return false;
        TakeNoise(Left(), pieces);
        return true;
    }
    const Judgement here = Judge(state_, scan_, finishing);
    if (here.verdict == Verdict::NeedMore) return false;
    if (here.verdict == Verdict::Holds) {
        if (!candidate_ && scan_ == 0 && IsEcho(here.length)) {
            TakeFrame(here.length, pieces);
            return true;
        }
        const Verdict confirmed = Confirm(scan_, here.length, finishing);
        if (confirmed == Verdict::NeedMore) return false;
        if (confirmed == Verdict::Holds) {
            candidate_ = false; // the earliest confirmed frame, even inside a candidate
            TakeNoise(scan_, pieces);
            TakeFrame(here.length, pieces);
            return true;
        }
        if (!candidate_) { // not confirmed: taken if no confirmed frame starts inside it
            candidate_ = true;
            candidateAt_ = scan_;
            candidateLength_ = here.length;
        }
    }
    ++scan_;
    return true;
}

FrameFinder::Judgement FrameFinder::Judge(int state, size_t at, bool finishing) const {
    const Verdict tooFew = finishing ? Verdict::Fails : Verdict::NeedMore;
    const size_t n = Left() - at;
    if (n == 0) return {tooFew, 0};
    const size_t length = rules_.length(state, At(at), n);
    if (length == kNoFrame) return {Verdict::Fails, 0};
    if (length == 0 || length > n) return {tooFew, 0};
    return {rules_.holds(state, At(at), length) ? Verdict::Holds : Verdict::Fails, length};
}

FrameFinder::Verdict FrameFinder::Confirm(size_t at, size_t length, bool finishing) const {
    const size_t after = at + length;
    if (after == Left()) return finishing ? Verdict::Holds : Verdict::NeedMore;
    const int next = rules_.next ? rules_.next(state_, At(at), length) : state_;
    return Judge(next, after, finishing).verdict;
}

bool FrameFinder::IsEcho(size_t length) const {
    return rules_.echoes && length == last_.size() && std::equal(last_.begin(), last_.end(), At(0));
}

void FrameFinder::TakeFrame(size_t length, std::vector<StreamPiece>& pieces) {
    pieces.push_back(StreamPiece{headOffset_, true, std::vector<uint8_t>(At(0), At(0) + length)});
    last_ = pieces.back().bytes;
    if (rules_.next) state_ = rules_.next(state_, At(0), length);
    Drop(length);
    scan_ = 0;
    candidate_ = false;
}

void FrameFinder::TakeNoise(size_t n, std::vector<StreamPiece>& pieces) {
    if (n > 0) last_.clear();
    while (n > 0) {
        const size_t part = std::min(n, kLongestNoise);
        pieces.push_back(StreamPiece{headOffset_, false, std::vector<uint8_t>(At(0), At(0) + part)});
        Drop(part);
        n -= part;
    }
}

void FrameFinder::Drop(size_t n) {
    head_ += n;
    headOffset_ += n;
    scan_ = scan_ > n ? scan_ - n : 0;
    if (candidate_) candidateAt_ -= n; // noise never reaches past the candidate's start
}

TraceLine NoiseLine(const StreamPiece& piece) {
    const size_t n = piece.bytes.size();
    return TraceLine{RawOffsetStamp(piece.offset), TraceDirection::Noise, piece.bytes,
                     "noise: " + std::to_string(n) + (n == 1 ? " byte" : " bytes") + " at offset " +
                         std::to_string(piece.offset)};
}

} // namespace platform
