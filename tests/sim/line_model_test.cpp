// The line model's schedule, driven by a clock of the test's own: what the
// device hears, and which bytes the host gets when, for pacing, reply
// delays, bursts, gaps, noise and each one-shot fault.
#include "sim/pty/line_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <memory>

namespace {

using Bytes = std::vector<uint8_t>;
using sim::LineFault;
using sim::LineTime;

constexpr uint32_t kIdleGapMs = 50;
constexpr uint8_t kPoll = 254;
constexpr uint8_t kOtherHeader = 245;

LineTime Ms(int64_t ms) { return std::chrono::milliseconds(ms); }
LineTime Us(int64_t us) { return std::chrono::microseconds(us); }

// A standard frame from the host to address 2.
Bytes Request(uint8_t header) {
    Bytes f{2, 0, 1, header};
    unsigned sum = 0;
    for (uint8_t b : f) sum += b;
    f.push_back(static_cast<uint8_t>(0x100 - (sum & 0xFF)));
    return f;
}

// A device that echoes what it hears (as a one-wire acceptor does) and
// answers each whole frame with kReply, or holds the answer back for a while
// and sends it from a tick.
class FrameDevice : public sim::Device {
public:
    static const Bytes kReply;
    static constexpr uint64_t kHoldMs = 15;

    void OnBytes(const uint8_t* data, size_t n, std::vector<uint8_t>& out) override {
        ++calls;
        heard.insert(heard.end(), data, data + n);
        if (echo) out.insert(out.end(), data, data + n);
        if (!answer) return;
        frame.insert(frame.end(), data, data + n);
        const size_t length = 5u + (fixedLength || frame.size() < 2 ? 0 : frame[1]);
        if (frame.size() < length) return;
        frame.clear();
        if (holdReply) {
            heldUntilMs = nowMs + kHoldMs;
            return;
        }
        out.insert(out.end(), kReply.begin(), kReply.end());
    }
    void OnTick(uint64_t tickMs, std::vector<uint8_t>& out) override {
        nowMs = tickMs;
        if (heldUntilMs == 0 || tickMs < heldUntilMs) return;
        out.insert(out.end(), kReply.begin(), kReply.end());
        heldUntilMs = 0;
    }
    void OnLineIdle() override {
        ++idles;
        frame.clear();
    }

    bool echo = true;
    bool answer = true;
    bool fixedLength = false; // every 5 bytes are a frame, whatever their length byte says
    bool holdReply = false;
    uint64_t nowMs = 0;
    uint64_t heldUntilMs = 0;
    Bytes frame;
    Bytes heard;
    int calls = 0;
    int idles = 0;
};

const Bytes FrameDevice::kReply = {1, 3, 2, 0, 10, 20, 30, 0xC4};

struct Handed {
    LineTime at;
    Bytes bytes;
};

class LineModelTest : public ::testing::Test {
protected:
    void Open(sim::LineOptions options = {}) {
        line = std::make_unique<sim::LineModel>(device, std::move(options), kIdleGapMs);
    }

    // The host writes `bytes` at `clock`.
    void Write(const Bytes& bytes) { line->FromHost(bytes.data(), bytes.size(), clock); }

    // Runs the line as the server does, from `clock` to `until`, waking only
    // when the model says something is due; notes what the host gets.
    void RunFor(LineTime span) {
        const LineTime until = clock + span;
        for (LineTime t = clock; t <= until; t = line->NextDue()) {
            line->Advance(t);
            Bytes out;
            line->TakeForHost(t, out);
            if (!out.empty()) handed.push_back({t, out});
        }
        clock = until;
    }

    // One request after another, each given `each` to be answered; returns
    // what the host got for each (echo and reply).
    std::vector<Bytes> Exchanges(const std::vector<uint8_t>& headers, LineTime each = Ms(200)) {
        std::vector<Bytes> got;
        for (uint8_t header : headers) {
            handed.clear();
            Write(Request(header));
            RunFor(each);
            got.push_back(AllHanded());
        }
        return got;
    }

    Bytes AllHanded() const {
        Bytes all;
        for (const auto& h : handed) all.insert(all.end(), h.bytes.begin(), h.bytes.end());
        return all;
    }

    static Bytes Join(const Bytes& a, const Bytes& b) {
        Bytes joined = a;
        joined.insert(joined.end(), b.begin(), b.end());
        return joined;
    }

    LineTime clock = Ms(1000);
    FrameDevice device;
    std::unique_ptr<sim::LineModel> line;
    std::vector<Handed> handed;
};

const Bytes kEchoAndReply = {2, 0, 1, 254, 255, 1, 3, 2, 0, 10, 20, 30, 0xC4};

TEST_F(LineModelTest, DefaultsHandEverythingOnAtOnceAndUnchanged) {
    Open();
    const LineTime start = clock;
    Write(Request(kPoll));
    line->Advance(clock);
    Bytes out;
    line->TakeForHost(clock, out);
    EXPECT_EQ(out, kEchoAndReply);
    EXPECT_EQ(device.calls, 1); // the host's write, in one piece
    RunFor(Ms(500));
    EXPECT_TRUE(handed.empty());

    device.holdReply = true; // a reply held back goes out from a later tick
    Write(Request(kPoll));
    RunFor(Ms(40));
    ASSERT_EQ(handed.size(), 2u);
    EXPECT_EQ(handed[0].bytes, Request(kPoll));
    EXPECT_EQ(handed[1].bytes, FrameDevice::kReply);
    EXPECT_GE(handed[1].at - handed[0].at, Ms(FrameDevice::kHoldMs - 10));

    const sim::LineCounters c = line->Counters();
    EXPECT_EQ(c.toDevice, 10u);
    EXPECT_EQ(c.toHost, 26u);
    EXPECT_EQ(c.requests, 2u);
    EXPECT_EQ(c.flippedToDevice + c.flippedToHost + c.faultsFired, 0u);
    EXPECT_EQ(device.heard, Join(Request(kPoll), Request(kPoll)));
    EXPECT_GT(clock, start);
}

TEST_F(LineModelTest, WhatTheHostWritesInOneGoIsOneRequest) {
    Open();
    const Bytes poll = Request(kPoll);
    // In two pieces a moment apart: one request, one answer.
    line->FromHost(poll.data(), 2, clock);
    line->FromHost(poll.data() + 2, 3, clock + Ms(1));
    RunFor(Ms(100));
    EXPECT_EQ(AllHanded(), kEchoAndReply);
    EXPECT_EQ(line->Counters().requests, 1u);
    // A pause of more than a few milliseconds makes two.
    handed.clear();
    line->FromHost(poll.data(), 2, clock);
    line->FromHost(poll.data() + 2, 3, clock + Ms(20));
    RunFor(Ms(100));
    EXPECT_EQ(line->Counters().requests, 3u);
    // The next request written at once after the answer is a request of its own.
    Write(poll);
    RunFor(Ms(0));
    Write(poll);
    RunFor(Ms(100));
    EXPECT_EQ(line->Counters().requests, 5u);
}

TEST_F(LineModelTest, AnIdleLineDropsAPartialFrame) {
    Open();
    Write({2, 0});
    RunFor(Ms(kIdleGapMs - 1));
    EXPECT_EQ(device.idles, 0);
    RunFor(Ms(5));
    EXPECT_EQ(device.idles, 1);
    handed.clear();
    Write(Request(kPoll));
    RunFor(Ms(10));
    EXPECT_EQ(AllHanded(), kEchoAndReply);
}

TEST_F(LineModelTest, TheReplyStartsAfterTheDelayAndTheEchoAtOnce) {
    sim::LineOptions options;
    options.replyDelayMinMs = 40;
    options.replyDelayMaxMs = 40;
    Open(options);
    const LineTime sent = clock;
    Write(Request(kPoll));
    RunFor(Ms(200));
    ASSERT_EQ(handed.size(), 2u);
    EXPECT_EQ(handed[0].at, sent);
    EXPECT_EQ(handed[0].bytes, Request(kPoll));
    EXPECT_EQ(handed[1].at, sent + Ms(40));
    EXPECT_EQ(handed[1].bytes, FrameDevice::kReply);
}

TEST_F(LineModelTest, ARangeOfDelaysStaysInTheRangeAndVaries) {
    sim::LineOptions options;
    options.replyDelayMinMs = 10;
    options.replyDelayMaxMs = 80;
    Open(options);
    std::vector<LineTime> delays;
    for (int i = 0; i < 40; ++i) {
        handed.clear();
        const LineTime sent = clock;
        Write(Request(kPoll));
        RunFor(Ms(100));
        ASSERT_EQ(handed.size(), 2u);
        delays.push_back(handed[1].at - sent);
    }
    EXPECT_GE(*std::min_element(delays.begin(), delays.end()), Ms(10));
    EXPECT_LE(*std::max_element(delays.begin(), delays.end()), Ms(80));
    EXPECT_GT(*std::max_element(delays.begin(), delays.end()) - *std::min_element(delays.begin(), delays.end()), Ms(20));
}

TEST_F(LineModelTest, PacingSpacesBytesTenBitsApartBothWays) {
    sim::LineOptions options;
    options.bitsPerSecond = 10000; // 1 ms a byte
    Open(options);
    const LineTime sent = clock;
    Write(Request(kPoll));
    RunFor(Ms(100));
    // The echo of each byte as it reaches the device, then the reply byte by byte.
    ASSERT_EQ(handed.size(), kEchoAndReply.size());
    for (size_t i = 0; i < handed.size(); ++i) {
        EXPECT_EQ(handed[i].at, sent + Ms(static_cast<int64_t>(i) + 1)) << i;
        EXPECT_EQ(handed[i].bytes, Bytes{kEchoAndReply[i]}) << i;
    }
    EXPECT_EQ(device.heard, Request(kPoll));
    EXPECT_EQ(device.calls, 5); // each byte as it arrives
}

TEST_F(LineModelTest, BurstsHandBytesOverOnlyAtTheirBoundaries) {
    sim::LineOptions options;
    options.bitsPerSecond = 10000;
    options.burstMs = 4;
    Open(options);
    clock += Us(500); // between two boundaries
    Write(Request(kPoll));
    RunFor(Ms(100));
    EXPECT_EQ(AllHanded(), kEchoAndReply);
    for (const auto& h : handed) EXPECT_EQ(h.at.count() % Ms(4).count(), 0) << h.at.count();
    // Bytes arrive at 1.5, 2.5 ... 13.5 ms: 3 by 4 ms, 4 by 8 ms, 4 by 12, 2 by 16.
    ASSERT_EQ(handed.size(), 4u);
    EXPECT_EQ(handed[0].bytes.size(), 3u);
    EXPECT_EQ(handed[1].bytes.size(), 4u);
    EXPECT_EQ(handed[3].bytes.size(), 2u);

    // Unpaced, echo and reply wait together for the next boundary.
    sim::LineOptions unpaced;
    unpaced.burstMs = 16;
    Open(unpaced);
    handed.clear();
    clock = Ms(2001);
    Write(Request(kPoll));
    RunFor(Ms(100));
    ASSERT_EQ(handed.size(), 1u);
    EXPECT_EQ(handed[0].at, Ms(2016));
    EXPECT_EQ(handed[0].bytes, kEchoAndReply);
}

TEST_F(LineModelTest, RandomGapsPauseInsideReplies) {
    sim::LineOptions options;
    options.gapChance = 1;
    options.gapMs = 20;
    Open(options);
    for (int i = 0; i < 10; ++i) {
        handed.clear();
        const LineTime sent = clock;
        Write(Request(kPoll));
        RunFor(Ms(100));
        ASSERT_EQ(handed.size(), 2u);
        EXPECT_EQ(handed[1].at, sent + Ms(20));
        EXPECT_EQ(AllHanded(), kEchoAndReply);
        // The pause falls after a byte of the reply, never before or after all of it.
        const size_t before = handed[0].bytes.size() - Request(kPoll).size();
        EXPECT_GE(before, 1u);
        EXPECT_LE(before, FrameDevice::kReply.size() - 1);
    }
}

// What the host gets for three polls when `fault` spoils the second.
class LineFaultTest : public LineModelTest {
protected:
    std::vector<Bytes> PollsWith(LineFault fault, uint32_t ms = 0) {
        sim::LineOptions options;
        options.faults.push_back({kPoll, 2, fault, ms});
        Open(options);
        return Exchanges({kPoll, kPoll, kPoll});
    }

    // Times at which the host got something, from the start of the exchange.
    std::vector<LineTime> Times(LineTime sent) const {
        std::vector<LineTime> times;
        for (const auto& h : handed) times.push_back(h.at - sent);
        return times;
    }

    void ExpectOnlyTheSecondSpoilt(const std::vector<Bytes>& got) {
        ASSERT_EQ(got.size(), 3u);
        EXPECT_EQ(got[0], kEchoAndReply);
        EXPECT_NE(got[1], kEchoAndReply);
        EXPECT_EQ(got[2], kEchoAndReply);
        EXPECT_EQ(line->Counters().faultsFired, 1u);
    }
};

TEST_F(LineFaultTest, LateDelaysTheReplyOnly) {
    sim::LineOptions options;
    options.faults.push_back({kPoll, 2, LineFault::Late, 0});
    options.faults.push_back({kPoll, 3, LineFault::Late, 90});
    Open(options);
    const std::vector<std::vector<LineTime>> times = {{Ms(0)}, {Ms(0), Ms(62)}, {Ms(0), Ms(90)}};
    for (const auto& expected : times) {
        handed.clear();
        const LineTime sent = clock;
        Write(Request(kPoll));
        RunFor(Ms(200));
        EXPECT_EQ(AllHanded(), kEchoAndReply);
        EXPECT_EQ(Times(sent), expected);
    }
    EXPECT_EQ(line->Counters().faultsFired, 2u);
}

TEST_F(LineFaultTest, GapPausesHalfwayThroughTheReply) {
    sim::LineOptions options;
    options.faults.push_back({kPoll, 1, LineFault::Gap, 0});
    Open(options);
    const LineTime sent = clock;
    Write(Request(kPoll));
    RunFor(Ms(200));
    EXPECT_EQ(AllHanded(), kEchoAndReply);
    ASSERT_EQ(Times(sent), (std::vector<LineTime>{Ms(0), Ms(60)}));
    EXPECT_EQ(handed[1].bytes, Bytes(FrameDevice::kReply.begin() + 4, FrameDevice::kReply.end()));
}

TEST_F(LineFaultTest, LengthMakesTheLengthByteOneSmaller) {
    const auto got = PollsWith(LineFault::Length);
    ExpectOnlyTheSecondSpoilt(got);
    Bytes expected = kEchoAndReply;
    expected[5 + 1] = 2;
    EXPECT_EQ(got[1], expected);
}

TEST_F(LineFaultTest, FlipChangesOneBitOfTheReply) {
    const auto got = PollsWith(LineFault::Flip);
    ExpectOnlyTheSecondSpoilt(got);
    ASSERT_EQ(got[1].size(), kEchoAndReply.size());
    size_t bits = 0;
    for (size_t i = 0; i < got[1].size(); ++i) bits += std::bitset<8>(got[1][i] ^ kEchoAndReply[i]).count();
    EXPECT_EQ(bits, 1u);
    EXPECT_TRUE(std::equal(got[1].begin(), got[1].begin() + 5, kEchoAndReply.begin())); // not the echo
}

TEST_F(LineFaultTest, ShortCutsTheLastTwoBytes) {
    const auto got = PollsWith(LineFault::Short);
    ExpectOnlyTheSecondSpoilt(got);
    EXPECT_EQ(got[1], Bytes(kEchoAndReply.begin(), kEchoAndReply.end() - 2));
}

TEST_F(LineFaultTest, StrayPutsThreeBytesBeforeTheReply) {
    const auto got = PollsWith(LineFault::Stray);
    ExpectOnlyTheSecondSpoilt(got);
    ASSERT_EQ(got[1].size(), kEchoAndReply.size() + 3);
    EXPECT_EQ(Bytes(got[1].begin(), got[1].begin() + 5), Request(kPoll));
    EXPECT_EQ(Bytes(got[1].begin() + 8, got[1].end()), FrameDevice::kReply);
}

TEST_F(LineFaultTest, SilenceLeavesOnlyTheEcho) {
    const auto got = PollsWith(LineFault::Silence);
    ExpectOnlyTheSecondSpoilt(got);
    EXPECT_EQ(got[1], Request(kPoll));
}

TEST_F(LineFaultTest, SplitEchoHoldsBackTheLastEchoByteAndTheReplyBehindIt) {
    sim::LineOptions options;
    options.faults.push_back({kPoll, 1, LineFault::SplitEcho, 0});
    Open(options);
    const LineTime sent = clock;
    Write(Request(kPoll));
    RunFor(Ms(200));
    EXPECT_EQ(AllHanded(), kEchoAndReply);
    ASSERT_EQ(Times(sent), (std::vector<LineTime>{Ms(0), Ms(30)}));
    EXPECT_EQ(handed[0].bytes, Bytes(kEchoAndReply.begin(), kEchoAndReply.begin() + 4));
    EXPECT_EQ(line->Counters().faultsFired, 1u);
}

TEST_F(LineFaultTest, TheNthRequestIsCountedPerHeader) {
    sim::LineOptions options;
    options.faults.push_back({kPoll, 2, LineFault::Silence, 0});
    options.faults.push_back({kOtherHeader, 3, LineFault::Silence, 0}); // never reached
    Open(options);
    const auto got = Exchanges({kPoll, kOtherHeader, kOtherHeader, kPoll, kPoll});
    const Bytes otherEchoAndReply = Join(Request(kOtherHeader), FrameDevice::kReply);
    EXPECT_EQ(got, (std::vector<Bytes>{kEchoAndReply, otherEchoAndReply, otherEchoAndReply, Request(kPoll),
                                       kEchoAndReply}));
    EXPECT_EQ(line->Counters().faultsFired, 1u);
    EXPECT_EQ(line->Counters().requests, 5u);
}

TEST_F(LineFaultTest, AReplyHeldBackByTheDeviceIsStillTheReply) {
    sim::LineOptions options;
    options.faults.push_back({kPoll, 1, LineFault::Short, 0});
    Open(options);
    device.holdReply = true;
    Write(Request(kPoll));
    RunFor(Ms(100));
    EXPECT_EQ(AllHanded(), Bytes(kEchoAndReply.begin(), kEchoAndReply.end() - 2));
}

TEST_F(LineFaultTest, FaultsOfADeviceWithoutEchoHitTheWholeAnswer) {
    sim::LineOptions options;
    options.faults.push_back({kPoll, 1, LineFault::Stray, 0});
    options.faults.push_back({kPoll, 1, LineFault::SplitEcho, 0}); // no echo to split
    Open(options);
    device.echo = false;
    Write(Request(kPoll));
    RunFor(Ms(100));
    const Bytes got = AllHanded();
    ASSERT_EQ(got.size(), 3 + FrameDevice::kReply.size());
    EXPECT_EQ(Bytes(got.begin() + 3, got.end()), FrameDevice::kReply);
    EXPECT_EQ(line->Counters().faultsFired, 1u);
}

class LineNoiseTest : public LineModelTest {
protected:
    struct Heard {
        Bytes byDevice;
        Bytes byHost;
    };

    // 10000 zero bytes through a device that only echoes them.
    Heard Carry(uint32_t seed) {
        sim::LineOptions options;
        options.noisePerByte = 0.1;
        options.seed = seed;
        device.heard.clear();
        device.answer = false;
        Open(options);
        handed.clear();
        Write(Bytes(10000, 0));
        RunFor(Ms(10));
        return {device.heard, AllHanded()};
    }

    static size_t Spoilt(const Bytes& got, const Bytes& sent) {
        size_t n = 0;
        for (size_t i = 0; i < got.size(); ++i) {
            const auto bits = std::bitset<8>(got[i] ^ sent[i]).count();
            EXPECT_LE(bits, 1u) << i; // one bit at most
            n += bits;
        }
        return n;
    }
};

TEST_F(LineNoiseTest, FlipsTheExpectedShareEachWayAndRepeatsWithTheSeed) {
    const Heard first = Carry(7);
    ASSERT_EQ(first.byDevice.size(), 10000u);
    ASSERT_EQ(first.byHost.size(), 10000u);
    const size_t toDevice = Spoilt(first.byDevice, Bytes(10000, 0));
    const size_t toHost = Spoilt(first.byHost, first.byDevice);
    EXPECT_EQ(line->Counters().flippedToDevice, toDevice);
    EXPECT_EQ(line->Counters().flippedToHost, toHost);
    for (const size_t n : {toDevice, toHost}) {
        EXPECT_GT(n, 900u);
        EXPECT_LT(n, 1100u);
    }
    const Heard again = Carry(7);
    EXPECT_EQ(again.byDevice, first.byDevice);
    EXPECT_EQ(again.byHost, first.byHost);
    const Heard other = Carry(8);
    EXPECT_NE(other.byDevice, first.byDevice);
}

TEST_F(LineNoiseTest, RequestsAreCountedAsTheHostWroteThem) {
    // Every byte spoilt on its way: the third poll is still the third.
    sim::LineOptions options;
    options.noisePerByte = 1;
    options.faults.push_back({kPoll, 3, LineFault::Silence, 0});
    Open(options);
    device.fixedLength = true;
    const auto got = Exchanges({kPoll, kPoll, kPoll});
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].size(), kEchoAndReply.size());
    EXPECT_EQ(got[2].size(), Request(kPoll).size());
    EXPECT_EQ(line->Counters().requests, 3u);
    EXPECT_EQ(line->Counters().flippedToDevice, 15u);
    EXPECT_EQ(line->Counters().flippedToHost, 15u + 2 * FrameDevice::kReply.size());
    EXPECT_EQ(line->Counters().faultsFired, 1u);
}

} // namespace
