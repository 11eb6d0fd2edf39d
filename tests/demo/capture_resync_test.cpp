// `pollbench decode` of raw captures with damage in them: frames are found
// again right after the damaged bytes, which make one noise line; an echo
// stays an echo; a reply whose checksum is wrong tells nothing; and noise
// makes the exit status 1. The captures are sessions with the virtual
// acceptor, run in process.
#include "demo/console/console_wire_commands.h"
#include "demo/driver/cct_protocol.h"
#include "demo/trace/cct_capture_decode.h"
#include "demo/trace/cct_frame_cutter.h"
#include "demo/trace/cct_frame_decoder.h"
#include "platform/frame_finder.h"
#include "sim/standard/standard_acceptor.h"
#include "tests/support/capture_lines.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <random>

namespace {

using platform::TraceDirection;
using platform::TraceLine;
using testing_support::ExpectFramesFound;
using testing_support::ExpectOneNoiseLine;
using testing_support::NoiseLines;
using testing_support::WireFrame;
using testing_support::WriteCapture;

constexpr uint8_t kDevice = 2;

// Every request, its echo and the reply, as they crossed the line.
class Session : public testing_support::WireCapture {
public:
    void Exchange(uint8_t header, const std::vector<uint8_t>& data = {}) {
        std::vector<uint8_t> request = {kDevice, static_cast<uint8_t>(data.size()), HOST_ADDRESS, header};
        request.insert(request.end(), data.begin(), data.end());
        request.push_back(CctChecksum(request.data(), request.size()));
        std::vector<uint8_t> out;
        device.OnBytes(request.data(), request.size(), out);
        const auto split = out.begin() + static_cast<std::ptrdiff_t>(request.size());
        Add(TraceDirection::Host, request);
        Add(TraceDirection::Echo, {out.begin(), split});
        if (split != out.end()) Add(TraceDirection::Device, {split, out.end()});
    }

    // Identification, the coin ids, inhibits off, then polls with a coin
    // now and then.
    void IdentifyAndPoll(int polls, uint32_t seed) {
        std::mt19937 random(seed);
        for (const uint8_t header : {kHdrSimplePoll, kHdrManufacturerId, kHdrProductCode, kHdrSerialNumber,
                                     kHdrSoftwareRevision, kHdrRequestOptionFlags}) {
            Exchange(header);
        }
        for (uint8_t position = 1; position <= 6; ++position) Exchange(kHdrRequestCoinId, {position});
        Exchange(kHdrModifyInhibits, {0xFF, 0xFF});
        Exchange(kHdrModifyMasterInhibit, {1});
        for (int i = 0; i < polls; ++i) {
            if (random() % 3 == 0) device.InsertCoin(static_cast<int>(1 + random() % 6));
            Exchange(random() % 8 == 0 ? kHdrSimplePoll : kHdrReadBufferedCredit);
        }
    }

    sim::StandardAcceptor device;
};

std::vector<TraceLine> Cut(const std::vector<uint8_t>& bytes) {
    CctFrameCutter cutter;
    return platform::CutWhole(cutter, bytes);
}

TEST(CaptureResync, ACleanSessionDecodesFrameForFrame) {
    Session s;
    s.IdentifyAndPoll(40, 1);
    const std::vector<TraceLine> lines = Cut(s.bytes);
    CctFrameDecoder decoder;
    testing_support::ExpectLinesAreTheFrames(s.frames, lines, [&decoder](TraceDirection d, const std::vector<uint8_t>& b) {
        return decoder.Describe(d, b);
    });
    ASSERT_EQ(s.frames.size(), lines.size());
    EXPECT_EQ("from 2: coin id \"EU050A\"", lines[3 * 9 + 2].meaning); // the tenth exchange: position 4

    // Byte by byte, as a listener hears the line: the same lines.
    CctFrameCutter cutter;
    std::vector<TraceLine> heard;
    for (size_t i = 0; i < s.bytes.size(); ++i) {
        for (TraceLine& line : cutter.Feed(&s.bytes[i], 1, i)) heard.push_back(std::move(line));
    }
    for (TraceLine& line : cutter.Finish()) heard.push_back(std::move(line));
    ASSERT_EQ(lines.size(), heard.size());
    for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(FormatTraceLine(lines[i]), FormatTraceLine(heard[i]));

    // The exit status of a clean capture (its first exchanges: a short print).
    const std::vector<uint8_t> first(s.bytes.begin(), s.bytes.begin() + static_cast<std::ptrdiff_t>(s.frames[6].offset));
    const std::string path = WriteCapture(first, "pollbench_clean.bin");
    PollbenchArgs args;
    args.file = path;
    EXPECT_EQ(0, RunDecode(args));
    std::remove(path.c_str());
}

TEST(CaptureResync, ACorruptedLengthByteSpoilsOnlyItsOwnFrame) {
    Session s;
    s.IdentifyAndPoll(12, 2);
    for (size_t i = 0; i < s.frames.size(); ++i) {
        for (const int change : {1, 7, 40, 0xCB}) {
            std::vector<uint8_t> bytes = s.bytes;
            uint8_t& length = bytes[s.frames[i].offset + kCctLength];
            length = static_cast<uint8_t>(length + change);
            const std::string what = "frame " + std::to_string(i) + ", length byte " + std::to_string(length);
            std::vector<WireFrame> expected = s.frames;
            // Without its request, an echo is a frame of the host's own.
            if (expected[i].direction == TraceDirection::Host) expected[i + 1].direction = TraceDirection::Host;
            expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(i));
            const std::vector<TraceLine> lines = Cut(bytes);
            ExpectFramesFound(expected, lines, what);
            ExpectOneNoiseLine(lines, s.frames[i].offset, s.frames[i].bytes.size(), expected.size(), what);
        }
    }
}

TEST(CaptureResync, AStrayByteIsOneNoiseLineAndTheEchoStaysAnEcho) {
    Session s;
    s.IdentifyAndPoll(12, 3);
    testing_support::ExpectEachStrayByteIsOneNoiseLine(s, {0x00, 0x01, 0x02, 0x05, 0xFE}, Cut);
    // The exit status says the capture held noise.
    std::vector<uint8_t> bytes(s.bytes.begin(), s.bytes.begin() + static_cast<std::ptrdiff_t>(s.frames[6].offset));
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(s.frames[4].offset), 0x02);
    const std::string path = WriteCapture(bytes, "pollbench_stray.bin");
    PollbenchArgs args;
    args.file = path;
    EXPECT_EQ(1, RunDecode(args));
    std::remove(path.c_str());
}

// A session's capture with noise: junk inserted between frames, bytes
// changed, dropped or added inside frames, in bursts at least two frames
// apart.
struct NoisyCapture {
    std::vector<uint8_t> bytes;
    std::vector<WireFrame> untouched; // at their new offsets
    std::vector<WireFrame> named;     // those whose name does not hang on a damaged frame
    size_t bursts = 0;
};

NoisyCapture AddNoise(const Session& s, uint32_t seed) {
    std::mt19937 random(seed);
    const auto junk = [&random](std::vector<uint8_t>& to, size_t n) {
        for (size_t k = 0; k < n; ++k) to.push_back(static_cast<uint8_t>(random() % 4 == 0 ? 1 : random()));
    };
    NoisyCapture c;
    bool lastTouched = false, lastButOneTouched = false;
    int quiet = 0; // frames until the next burst may come
    for (const WireFrame& frame : s.frames) {
        const unsigned pick = quiet > 0 ? 100 : random() % 100;
        quiet = pick < 12 ? 2 : quiet - 1;
        if (pick < 4) junk(c.bytes, 1 + random() % 6); // between frames: touches none
        std::vector<uint8_t> f = frame.bytes;
        const size_t at = random() % f.size();
        if (pick >= 4 && pick < 8) f[at] = static_cast<uint8_t>(f[at] + 1 + random() % 255);
        if (pick >= 8 && pick < 10) f.erase(f.begin() + static_cast<std::ptrdiff_t>(at));
        if (pick >= 10 && pick < 12) {
            std::vector<uint8_t> inside;
            junk(inside, 1 + random() % 3);
            f.insert(f.begin() + static_cast<std::ptrdiff_t>(at), inside.begin(), inside.end());
        }
        c.bursts += pick < 12 ? 1 : 0;
        const bool touched = pick >= 4 && pick < 12;
        if (!touched) {
            c.untouched.push_back(WireFrame{c.bytes.size(), frame.direction, frame.bytes});
            // An echo whose request was lost is the host's frame; a host's
            // frame after a lost reply may pass for the echo of the one before,
            // and its own echo then for the host's frame.
            const bool sure = !lastTouched && !lastButOneTouched;
            if (sure || frame.direction == TraceDirection::Device) c.named.push_back(c.untouched.back());
        }
        lastButOneTouched = lastTouched;
        lastTouched = touched;
        c.bytes.insert(c.bytes.end(), f.begin(), f.end());
    }
    return c;
}

// The untouched frames that are not frame lines of their own.
size_t Lost(const NoisyCapture& c, const std::vector<TraceLine>& lines) {
    std::map<std::string, std::vector<uint8_t>> frames;
    for (const TraceLine& line : lines) {
        if (CarriesFrame(line.direction)) frames[line.time] = line.bytes;
    }
    size_t lost = 0;
    for (const WireFrame& f : c.untouched) lost += frames[platform::RawOffsetStamp(f.offset)] == f.bytes ? 0 : 1;
    return lost;
}

TEST(CaptureResync, RandomNoiseLosesNoFrameItLeftAlone) {
    Session s;
    s.IdentifyAndPoll(700, 4);
    const NoisyCapture c = AddNoise(s, 99);
    ASSERT_GT(c.bursts, 120u);
    const std::vector<TraceLine> lines = Cut(c.bytes);
    ExpectFramesFound(c.named, lines, "random noise");
    EXPECT_EQ(0u, Lost(c, lines));
    size_t covered = 0;
    for (const TraceLine& line : lines) covered += line.bytes.size();
    EXPECT_EQ(c.bytes.size(), covered); // every byte on one line, frame or noise
    const size_t noise = NoiseLines(lines).size();
    EXPECT_LE(noise, c.bursts);
    EXPECT_GT(noise, c.bursts / 2);

    const std::string path = WriteCapture(c.bytes, "pollbench_noise.bin");
    std::FILE* out = std::tmpfile();
    EXPECT_EQ(static_cast<int>(noise), DecodeCctCapture(path, out, stderr)); // the exit status: 1
    std::fclose(out);
    std::remove(path.c_str());
}

// A damaged frame can still hold, its checksum once in 256 and likelier
// with data of small numbers, and a confirmed one costs the frame it
// overlaps. Over many sessions that stays rare.
TEST(CaptureResync, OverManyNoisySessionsAFrameLeftAloneIsSeldomLost) {
    size_t bursts = 0, lost = 0;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        Session s;
        s.IdentifyAndPoll(300, seed);
        const NoisyCapture c = AddNoise(s, 1000 + seed);
        lost += Lost(c, Cut(c.bytes));
        bursts += c.bursts;
    }
    EXPECT_GT(bursts, 3000u);
    EXPECT_LE(lost * 500, bursts);
}

TEST(CaptureResync, ACreditReplyWhoseChecksumIsWrongShowsNoEvents) {
    Session s;
    s.Exchange(kHdrModifyInhibits, {0xFF, 0xFF});
    s.Exchange(kHdrReadBufferedCredit); // the baseline, counter 0
    s.device.InsertCoin(3);
    s.device.InjectFault(sim::StandardFault::BadChecksum);
    s.Exchange(kHdrReadBufferedCredit);
    s.device.InsertCoin(1);
    s.Exchange(kHdrReadBufferedCredit);
    ASSERT_EQ(12u, s.frames.size());
    const WireFrame& spoilt = s.frames[8];
    ASSERT_EQ(16u, spoilt.bytes.size());

    // Read back from a text trace: named, but not read.
    CctFrameDecoder decoder;
    std::vector<std::string> meanings;
    for (const WireFrame& f : s.frames) meanings.push_back(decoder.Describe(f.direction, f.bytes));
    EXPECT_EQ("from 2: counter 0; 1: -, 2: -, 3: -, 4: -, 5: -", meanings[5]);
    EXPECT_EQ("from 2: reply to 229; checksum WRONG", meanings[8]);
    // The next good reply counts from the last good one.
    EXPECT_EQ("from 2: counter 2, 2 new; 1: coin 1 path 1, 2: coin 3 path 3, 3: -, 4: -, 5: -", meanings[11]);

    // In a raw capture the spoilt reply is noise.
    const std::vector<TraceLine> lines = Cut(s.bytes);
    ASSERT_EQ(12u, lines.size());
    EXPECT_EQ(TraceDirection::Noise, lines[8].direction);
    EXPECT_EQ("noise: 16 bytes at offset " + std::to_string(spoilt.offset), lines[8].meaning);
    EXPECT_EQ(meanings[11], lines[11].meaning);
}

} // namespace
