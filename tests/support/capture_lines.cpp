#include "tests/support/capture_lines.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace testing_support {

using platform::TraceLine;

void WireCapture::Add(platform::TraceDirection direction, const std::vector<uint8_t>& frame) {
    frames.push_back(WireFrame{bytes.size(), direction, frame});
    bytes.insert(bytes.end(), frame.begin(), frame.end());
}

std::vector<TraceLine> NoiseLines(const std::vector<TraceLine>& lines) {
    std::vector<TraceLine> noise;
    for (const TraceLine& line : lines) {
        if (line.direction == platform::TraceDirection::Noise) noise.push_back(line);
    }
    return noise;
}

void ExpectLinesAreTheFrames(const std::vector<WireFrame>& frames, const std::vector<TraceLine>& lines,
                             const FrameDescriber& describe) {
    ASSERT_EQ(frames.size(), lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        const WireFrame& f = frames[i];
        EXPECT_EQ(platform::RawOffsetStamp(f.offset), lines[i].time);
        EXPECT_EQ(f.direction, lines[i].direction) << lines[i].time;
        EXPECT_EQ(f.bytes, lines[i].bytes) << lines[i].time;
        EXPECT_EQ(describe(f.direction, f.bytes), lines[i].meaning);
    }
}

void ExpectFramesFound(const std::vector<WireFrame>& expected, const std::vector<TraceLine>& lines,
                       const std::string& what) {
    std::map<std::string, const TraceLine*> byTime;
    for (const TraceLine& line : lines) {
        if (CarriesFrame(line.direction)) byTime[line.time] = &line;
    }
    for (const WireFrame& frame : expected) {
        const auto found = byTime.find(platform::RawOffsetStamp(frame.offset));
        if (found == byTime.end()) {
            ADD_FAILURE() << what << ": no frame at " << frame.offset << ": "
                          << platform::HexBytes(frame.bytes.data(), frame.bytes.size());
            continue;
        }
        EXPECT_EQ(frame.bytes, found->second->bytes) << what << " at " << frame.offset;
        EXPECT_EQ(std::string(DirectionWord(frame.direction)), DirectionWord(found->second->direction))
            << what << " at " << frame.offset;
    }
}

void ExpectOneNoiseLine(const std::vector<TraceLine>& lines, size_t offset, size_t n, size_t frames,
                        const std::string& what) {
    const std::vector<TraceLine> noise = NoiseLines(lines);
    ASSERT_EQ(1u, noise.size()) << what;
    EXPECT_EQ(platform::RawOffsetStamp(offset), noise[0].time) << what;
    EXPECT_EQ(n, noise[0].bytes.size()) << what;
    EXPECT_EQ("noise: " + std::to_string(n) + (n == 1 ? " byte" : " bytes") + " at offset " + std::to_string(offset),
              noise[0].meaning)
        << what;
    EXPECT_EQ(frames + 1, lines.size()) << what;
}

void ExpectEachStrayByteIsOneNoiseLine(const WireCapture& capture, const std::vector<uint8_t>& strays,
                                       const CaptureCutter& cut) {
    for (size_t i = 0; i <= capture.frames.size(); ++i) {
        const size_t at = i < capture.frames.size() ? capture.frames[i].offset : capture.bytes.size();
        for (const uint8_t stray : strays) {
            std::vector<uint8_t> bytes = capture.bytes;
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), stray);
            const std::string what = "before frame " + std::to_string(i) + ", byte " + std::to_string(stray);
            std::vector<WireFrame> expected = capture.frames;
            for (size_t k = i; k < expected.size(); ++k) ++expected[k].offset;
            const std::vector<TraceLine> lines = cut(bytes);
            ExpectFramesFound(expected, lines, what);
            ExpectOneNoiseLine(lines, at, 1, expected.size(), what);
        }
    }
}

std::string WriteCapture(const std::vector<uint8_t>& bytes, const std::string& name) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

} // namespace testing_support
