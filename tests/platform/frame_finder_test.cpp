// The frame finder both programs cut raw captures with: frames found where
// they hold, the bytes between as one noise piece, a frame that holds by
// chance losing to a confirmed one, and the same pieces however the bytes
// come in.
#include "platform/frame_finder.h"
#include "platform/trace_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>

namespace {

using platform::FrameFinder;
using platform::FrameRules;
using platform::StreamPiece;

constexpr uint8_t kMaxData = 95;

// A small protocol of the standard frame's shape: byte 1 the data length
// (at most 95), all bytes summing to 0.
FrameRules SumRules() {
    FrameRules rules;
    rules.length = [](int, const uint8_t* b, size_t n) -> size_t {
        if (n < 2) return 0;
        return b[1] > kMaxData ? platform::kNoFrame : 5u + b[1];
    };
    rules.holds = [](int, const uint8_t* b, size_t n) {
        unsigned sum = 0;
        for (size_t i = 0; i < n; ++i) sum += b[i];
        return sum % 256 == 0;
    };
    return rules;
}

// The same, and byte 0 of each frame is the number of frames before it.
FrameRules CountingRules() {
    FrameRules rules = SumRules();
    const auto length = rules.length;
    rules.length = [length](int count, const uint8_t* b, size_t n) {
        return b[0] != static_cast<uint8_t>(count) ? platform::kNoFrame : length(count, b, n);
    };
    rules.next = [](int count, const uint8_t*, size_t) { return count + 1; };
    return rules;
}

std::vector<uint8_t> Frame(uint8_t first, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> f = {first, static_cast<uint8_t>(data.size()), 1, 0};
    f.insert(f.end(), data.begin(), data.end());
    unsigned sum = 0;
    for (const uint8_t b : f) sum += b;
    f.push_back(static_cast<uint8_t>(256 - sum % 256));
    return f;
}

// A stream put together from frames and junk, with the pieces it holds.
struct Stream {
    void Add(const std::vector<uint8_t>& b, bool frame) {
        if (!frame && !expected.empty() && !expected.back().frame) {
            expected.back().bytes.insert(expected.back().bytes.end(), b.begin(), b.end());
        } else {
            expected.push_back(StreamPiece{bytes.size(), frame, b});
        }
        bytes.insert(bytes.end(), b.begin(), b.end());
    }
    std::vector<uint8_t> bytes;
    std::vector<StreamPiece> expected;
};

std::vector<StreamPiece> FindAll(const FrameRules& rules, const std::vector<uint8_t>& bytes, int state = 0) {
    FrameFinder finder(rules, state);
    std::vector<StreamPiece> pieces = finder.Feed(bytes.data(), bytes.size(), 0);
    for (StreamPiece& p : finder.Finish()) pieces.push_back(std::move(p));
    return pieces;
}

// The same bytes fed in random chunks.
std::vector<StreamPiece> FindInChunks(const FrameRules& rules, const std::vector<uint8_t>& bytes, uint32_t seed) {
    std::mt19937 random(seed);
    FrameFinder finder(rules);
    std::vector<StreamPiece> pieces;
    for (size_t at = 0; at < bytes.size();) {
        const size_t n = std::min<size_t>(1 + random() % 40, bytes.size() - at);
        for (StreamPiece& p : finder.Feed(bytes.data() + at, n, at)) pieces.push_back(std::move(p));
        at += n;
    }
    for (StreamPiece& p : finder.Finish()) pieces.push_back(std::move(p));
    return pieces;
}

std::string Show(const std::vector<StreamPiece>& pieces) {
    std::string text;
    for (const StreamPiece& p : pieces) {
        text += (p.frame ? "frame " : "noise ") + std::to_string(p.offset) + " " +
                platform::HexBytes(p.bytes.data(), p.bytes.size()) + "\n";
    }
    return text;
}

std::vector<uint8_t> RandomData(std::mt19937& random, size_t most) {
    std::vector<uint8_t> data(random() % (most + 1));
    for (auto& b : data) b = static_cast<uint8_t>(random());
    return data;
}

TEST(FrameFinder, EveryFrameOfACleanStreamIsFoundWholeOrInChunks) {
    std::mt19937 random(3);
    Stream s;
    for (int i = 0; i < 60; ++i) s.Add(Frame(static_cast<uint8_t>(random()), RandomData(random, 30)), true);
    EXPECT_EQ(Show(s.expected), Show(FindAll(SumRules(), s.bytes)));
    EXPECT_EQ(Show(s.expected), Show(FindInChunks(SumRules(), s.bytes, 4)));
    // Byte by byte, as a listener hears them.
    FrameFinder finder(SumRules());
    std::vector<StreamPiece> pieces;
    for (size_t i = 0; i < s.bytes.size(); ++i) {
        for (StreamPiece& p : finder.Feed(&s.bytes[i], 1, i)) pieces.push_back(std::move(p));
    }
    EXPECT_EQ(s.expected.size() - 1, pieces.size()); // each frame once the next one confirms it
    const std::vector<StreamPiece> last = finder.Finish();
    ASSERT_EQ(1u, last.size());
    pieces.push_back(last[0]);
    EXPECT_EQ(Show(s.expected), Show(pieces));
}

TEST(FrameFinder, BytesBetweenFramesAreOneNoisePieceAndTheNextFrameIsFoundAtOnce) {
    Stream s;
    s.Add(Frame(2, {1, 2, 3}), true);
    s.Add({0xEE, 0xF0, 0xF1}, false); // no frame starts at any of them
    s.Add(Frame(0x60, {}), true);
    s.Add(Frame(2, {9}), true);
    s.Add({0x02, 0x03, 0x01}, false); // a frame cut off by the end of the capture
    EXPECT_EQ(Show(s.expected), Show(FindAll(SumRules(), s.bytes)));

    EXPECT_EQ("@000008 noise  EE F0 F1 | noise: 3 bytes at offset 8",
              FormatTraceLine(platform::NoiseLine(s.expected[1])));
    EXPECT_EQ("noise: 1 byte at offset 12", platform::NoiseLine(StreamPiece{12, false, {0}}).meaning);
    platform::TraceLine back;
    std::string error;
    ASSERT_TRUE(ParseTraceLine(FormatTraceLine(platform::NoiseLine(s.expected[1])), back, error)) << error;
    EXPECT_EQ(platform::TraceDirection::Noise, back.direction);
    EXPECT_EQ(s.expected[1].bytes, back.bytes);
    EXPECT_FALSE(ParseTraceLine("@000007 noise  | noise: 0 bytes at offset 7", back, error));
}

TEST(FrameFinder, AFrameHoldingByChanceLosesToAConfirmedFrameStartingInsideIt) {
    const std::vector<uint8_t> real = Frame(2, {10, 20, 30, 40, 50, 60});
    // No frame starts at 0xEE; "2 0 246 2 6" holds by chance and takes the
    // first two bytes of the real frame, and the bytes after it start none.
    ASSERT_EQ(0, (2 + 0 + 246 + real[0] + real[1]) % 256);
    Stream s;
    s.Add({0xEE, 2, 0, 246}, false);
    s.Add(real, true);
    s.Add(Frame(2, {7}), true);
    EXPECT_EQ(Show(s.expected), Show(FindAll(SumRules(), s.bytes)));

    // A frame that holds but whose next frame is damaged is still taken
    // when nothing confirmed starts inside it.
    Stream damaged;
    damaged.Add(Frame(2, {1}), true);
    damaged.Add({0xEE}, false);
    damaged.Add(real, true);
    std::vector<uint8_t> broken = Frame(2, {4, 5});
    ++broken.back();
    damaged.Add(broken, false);
    damaged.Add(Frame(2, {6}), true);
    damaged.Add(Frame(2, {}), true);
    EXPECT_EQ(Show(damaged.expected), Show(FindAll(SumRules(), damaged.bytes)));
}

TEST(FrameFinder, TheFrameAfterACandidateIsJudgedInTheStateTheCandidateLeaves) {
    // Byte 0 counts the frames. After frame 0 and a junk byte, "1 0 248 1 6"
    // holds as frame 1 by chance, over the head of the real frame 1; only the
    // count after the real frame 1 (2) lets frame 2 confirm it.
    const std::vector<uint8_t> first = Frame(1, {10, 20, 30, 40, 50, 60});
    ASSERT_EQ(0, (1 + 0 + 248 + first[0] + first[1]) % 256);
    Stream s;
    s.Add(Frame(0, {5}), true);
    s.Add({0xEE, 1, 0, 248}, false);
    s.Add(first, true);
    s.Add(Frame(2, {}), true);
    s.Add(Frame(3, {8}), true);
    EXPECT_EQ(Show(s.expected), Show(FindAll(CountingRules(), s.bytes)));
    FrameFinder finder(CountingRules());
    finder.Feed(s.bytes.data(), s.bytes.size(), 0);
    finder.Finish();
    EXPECT_EQ(4, finder.State());
}

TEST(FrameFinder, ALongRunOfNoiseIsCutIntoReadablePieces) {
    Stream s;
    s.Add(std::vector<uint8_t>(10000, 0xFF), false);
    s.Add(Frame(2, {1}), true);
    const std::vector<StreamPiece> pieces = FindAll(SumRules(), s.bytes);
    ASSERT_EQ(4u, pieces.size()) << Show(pieces);
    EXPECT_EQ(platform::kLongestNoise, pieces[0].bytes.size());
    EXPECT_EQ(platform::kLongestNoise, pieces[1].offset);
    EXPECT_EQ(2 * platform::kLongestNoise, pieces[2].offset);
    EXPECT_EQ(10000 - 2 * platform::kLongestNoise, pieces[2].bytes.size());
    EXPECT_FALSE(pieces[2].frame);
    EXPECT_TRUE(pieces[3].frame);
    EXPECT_EQ(10000u, pieces[3].offset);
    // Each piece's line reads back.
    platform::TraceLine back;
    std::string error;
    EXPECT_TRUE(ParseTraceLine(FormatTraceLine(platform::NoiseLine(pieces[0])), back, error)) << error;
}

TEST(FrameFinder, FinishEndsABurstAndBytesThatDoNotFollowOnStartAfresh) {
    const std::vector<uint8_t> a = Frame(2, {1, 2});
    const std::vector<uint8_t> b = Frame(2, {3});
    std::vector<uint8_t> bytes = a;
    bytes.insert(bytes.end(), b.begin(), b.begin() + 3);
    FrameFinder finder(SumRules());
    EXPECT_EQ("", Show(finder.Feed(bytes.data(), bytes.size(), 0))); // what follows the frame cannot tell yet
    EXPECT_EQ("frame 0 02 02 01 00 01 02 F8\nnoise 7 02 01 01\n", Show(finder.Finish())); // a gap
    EXPECT_EQ("", Show(finder.Feed(b.data(), b.size(), 100)));
    EXPECT_EQ("frame 100 02 01 01 00 03 F9\n", Show(finder.Finish()));

    FrameFinder jumping(SumRules());
    jumping.Feed(bytes.data(), bytes.size(), 0);
    EXPECT_EQ("frame 0 02 02 01 00 01 02 F8\nnoise 7 02 01 01\n", Show(jumping.Feed(b.data(), b.size(), 500)));
    EXPECT_EQ("frame 500 02 01 01 00 03 F9\n", Show(jumping.Finish()));
}

// A frame that lost a byte and holds with the next frame's first byte in
// its place loses to the next frame, which its own next one confirms.
TEST(FrameFinder, AFrameThatLostAByteLosesToTheFrameItReachesInto) {
    std::vector<uint8_t> spoilt = Frame(2, {7, 2, 9});
    spoilt.erase(spoilt.begin() + 5); // the 2: the next frame starts with a 2 too
    Stream s;
    s.Add(Frame(2, {1}), true);
    s.Add(spoilt, false);
    s.Add(Frame(2, {3, 4}), true);
    s.Add(Frame(2, {}), true);
    std::vector<uint8_t> taken(spoilt);
    taken.push_back(2);
    ASSERT_TRUE(SumRules().holds(0, taken.data(), taken.size())); // it holds, one byte too far
    EXPECT_EQ(Show(s.expected), Show(FindAll(SumRules(), s.bytes)));
}

TEST(FrameFinder, AnEchoRightBehindItsFrameNeedsNoConfirming) {
    // The frame after the echo is damaged, and "FF 01 01 02 00 FD", from the
    // echo's last byte on, holds and is confirmed: the echo still counts.
    FrameRules rules = SumRules();
    rules.echoes = true;
    const std::vector<uint8_t> poll = {2, 0, 1, 0xFE, 0xFF};
    Stream s;
    s.Add(poll, true);
    s.Add(poll, true);
    s.Add({1, 1, 2, 0, 0xFD}, false); // an acknowledgement whose length byte went from 0 to 1
    s.Add(poll, true);
    s.Add(poll, true);
    EXPECT_EQ(Show(s.expected), Show(FindAll(rules, s.bytes)));
    rules.echoes = false; // without an echo to go by, the frame that is confirmed wins
    EXPECT_EQ("frame 0 02 00 01 FE FF\nnoise 5 02 00 01 FE\nframe 9 FF 01 01 02 00 FD\nframe 15 02 00 01 FE FF\n"
              "frame 20 02 00 01 FE FF\n",
              Show(FindAll(rules, s.bytes)));
}

TEST(FrameFinder, ANoisyStreamGivesTheSamePiecesInAnyChunks) {
    std::mt19937 random(17);
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 400; ++i) {
        std::vector<uint8_t> frame = Frame(static_cast<uint8_t>(random()), RandomData(random, 12));
        if (random() % 5 == 0) frame[random() % frame.size()] ^= 0x10;
        bytes.insert(bytes.end(), frame.begin(), frame.end());
        if (random() % 6 == 0) {
            const std::vector<uint8_t> junk = RandomData(random, 6);
            bytes.insert(bytes.end(), junk.begin(), junk.end());
        }
    }
    const std::vector<StreamPiece> whole = FindAll(SumRules(), bytes);
    size_t covered = 0;
    for (const StreamPiece& p : whole) {
        EXPECT_EQ(covered, p.offset); // every byte once, in order
        covered += p.bytes.size();
    }
    EXPECT_EQ(bytes.size(), covered);
    EXPECT_EQ(Show(whole), Show(FindInChunks(SumRules(), bytes, 1)));
    EXPECT_EQ(Show(whole), Show(FindInChunks(SumRules(), bytes, 2)));
}

// Noise makes the decode's count, so its exit status, in a raw capture and
// read back from a text trace alike; the noise line stays as it was.
TEST(FrameFinder, NoiseLinesCountInTheDecodeOfACapture) {
    const std::string name = ::testing::TempDir() + "frame_finder_capture.bin";
    const auto decode = [&name](std::string& printed) {
        std::FILE* out = std::tmpfile();
        const int count = platform::DecodeCapture(
            name, out, stderr, [](platform::TraceDirection, const std::vector<uint8_t>&) { return std::string("x"); },
            [](const std::vector<uint8_t>& bytes) {
                std::vector<platform::TraceLine> lines;
                for (const StreamPiece& p : FindAll(SumRules(), bytes)) {
                    lines.push_back(p.frame ? platform::TraceLine{platform::RawOffsetStamp(p.offset),
                                                                  platform::TraceDirection::Host, p.bytes, "x"}
                                            : platform::NoiseLine(p));
                }
                return lines;
            });
        std::rewind(out);
        char buffer[512] = {};
        printed.assign(buffer, std::fread(buffer, 1, sizeof buffer - 1, out));
        std::fclose(out);
        return count;
    };
    std::string printed;
    {
        std::vector<uint8_t> bytes = Frame(2, {1});
        bytes.push_back(0xEE);
        std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                     static_cast<std::streamsize>(bytes.size()));
    }
    EXPECT_EQ(1, decode(printed));
    EXPECT_EQ("@000000 host   02 01 01 00 01 FB | x\n@000006 noise  EE | noise: 1 byte at offset 6\n", printed);
    const std::string raw = printed;
    std::ofstream(name, std::ios::binary) << raw;
    EXPECT_EQ(1, decode(printed));
    EXPECT_EQ(raw, printed);
    std::remove(name.c_str());
}

} // namespace
