// Frames found in a byte stream that may hold junk: a raw capture of a line,
// or a bus heard without taking part. Each program says how long its frame
// is and whether it holds; the finder says where frames start and which
// bytes are noise, the same for both programs.
//
// A frame is where one holds (its length and checksum) and is confirmed:
// the bytes after it start a frame that holds too, or the stream ends right
// behind it. Bytes before the earliest confirmed frame are noise. A frame
// that holds but is not confirmed (the frame after it is damaged) is still
// taken when no confirmed frame starts inside it. Confirming matters where
// a damaged frame still holds, say one that lost a byte and took the next
// frame's first byte, of the same value, in its place: the next frame is
// confirmed and wins. An echo right behind its frame is taken at once. A
// frame holds by chance rarely, its checksum alone once in 256, but data
// made of small numbers makes it likelier: a damaged frame that holds and
// is confirmed by chance can still cost the frame it overlaps.
#pragma once

#include "platform/trace_line.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace platform {

// What a program knows of its frames. `state` is what earlier frames decide
// of the next one (Ducat Console: a reply's form follows its request); a
// protocol without such a thing keeps 0.
struct FrameRules {
    // How many bytes the frame that starts with the `n` bytes at `b` holds
    // (n may be fewer than it needs): 0 while n is too few to tell,
    // kNoFrame when no frame starts so.
    std::function<size_t(int state, const uint8_t* b, size_t n)> length;
    // Whether the `n` bytes at `b`, as long as `length` said, are a frame
    // that holds (its checksum ...).
    std::function<bool(int state, const uint8_t* b, size_t n)> holds;
    // The state after a frame that holds; empty: the state stays.
    std::function<int(int state, const uint8_t* frame, size_t n)> next;
    // A one-wire line hands every frame of the host back: a frame that
    // repeats the one just before it is that echo and needs no confirming.
    bool echoes = false;
};

constexpr size_t kNoFrame = static_cast<size_t>(-1);
// A longer run of noise is cut into pieces of this size, so each of its
// trace lines stays readable.
constexpr size_t kLongestNoise = 4096;

// A run of the stream: one frame that holds, or noise.
struct StreamPiece {
    size_t offset = 0; // of its first byte in the stream
    bool frame = false;
    std::vector<uint8_t> bytes;
};

class FrameFinder {
public:
    explicit FrameFinder(FrameRules rules, int state = 0);

    // Bytes as they come, `offset` being that of the first in the stream.
    // Returns the pieces now decided (a frame once the bytes after it
    // confirm it); the rest waits for more. Bytes that do not follow on from
    // the last ones end those first, as Finish() does.
    std::vector<StreamPiece> Feed(const uint8_t* bytes, size_t n, size_t offset);
    // The end of the stream, or of a burst (a listener calls it after a gap
    // of more than 50 ms between bytes: no frame spans a gap): every byte
    // left is decided, and the next one is expected to start a frame.
    std::vector<StreamPiece> Finish();

    // The state after the last frame taken.
    int State() const { return state_; }

private:
    enum class Verdict { NeedMore, Fails, Holds };
    struct Judgement {
        Verdict verdict;
        size_t length;
    };

    void Decide(bool finishing, std::vector<StreamPiece>& pieces);
    // One place further; false while the bytes so far cannot tell.
    bool Step(bool finishing, std::vector<StreamPiece>& pieces);
    Judgement Judge(int state, size_t at, bool finishing) const;
    // Whether the frame at `at` of `length` bytes is confirmed; NeedMore
    // while the bytes after it cannot tell yet.
    Verdict Confirm(size_t at, size_t length, bool finishing) const;
    // Whether the frame of `length` bytes at the head repeats the frame
    // taken just before it.
    bool IsEcho(size_t length) const;
    // The frame of `length` bytes at the head, or `n` bytes of noise there.
    void TakeFrame(size_t length, std::vector<StreamPiece>& pieces);
    void TakeNoise(size_t n, std::vector<StreamPiece>& pieces);
    void Drop(size_t n);
    size_t Left() const { return pending_.size() - head_; }
    const uint8_t* At(size_t at) const { return pending_.data() + head_ + at; }

    FrameRules rules_;
    int state_;
    std::vector<uint8_t> pending_; // undecided bytes from head_ on
    std::vector<uint8_t> last_;    // the frame taken last, when nothing came after it yet
    size_t head_ = 0;
    size_t headOffset_ = 0;  // the stream offset of pending_[head_]
    size_t scan_ = 0;        // the next place to look at; before it, noise or the candidate
    bool candidate_ = false; // a frame that holds, not confirmed, at candidateAt_
    size_t candidateAt_ = 0;
    size_t candidateLength_ = 0;
};

// The trace line of a noise piece: "noise: 3 bytes at offset 1234".
TraceLine NoiseLine(const StreamPiece& piece);

// Every line of a whole capture from a program's cutter (a class with
// Feed and Finish as FrameFinder has, giving trace lines).
template <class Cutter>
std::vector<TraceLine> CutWhole(Cutter& cutter, const std::vector<uint8_t>& bytes) {
    std::vector<TraceLine> lines = cutter.Feed(bytes.data(), bytes.size(), 0);
    for (TraceLine& line : cutter.Finish()) lines.push_back(std::move(line));
    return lines;
}

} // namespace platform
