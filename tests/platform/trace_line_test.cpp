// The wire trace's line format both programs share: written lines read back
// the same, broken lines are refused with a reason, and the --trace switch
// of a Windows command line.
#include "platform/trace_file.h"
#include "platform/trace_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {

using platform::TraceDirection;
using platform::TraceLine;

TEST(TraceLine, WrittenLinesReadBackTheSame) {
    const TraceLine frame{"2026-12-09 10:31:07.123", TraceDirection::Host, {0x02, 0x00, 0x01, 0xFE, 0xFF}, "Simple poll to 2"};
    const std::string text = FormatTraceLine(frame);
    EXPECT_EQ("2026-12-09 10:31:07.123 host   02 00 01 FE FF | Simple poll to 2", text);
    TraceLine back;
    std::string error;
    ASSERT_TRUE(ParseTraceLine(text, back, error)) << error;
    EXPECT_EQ(frame.time, back.time);
    EXPECT_EQ(frame.direction, back.direction);
    EXPECT_EQ(frame.bytes, back.bytes);
    EXPECT_EQ(frame.meaning, back.meaning);

    const TraceLine mark{"@000120", TraceDirection::Failed, {}, "result -5: fewer than 5 bytes of reply head"};
    EXPECT_EQ("@000120 failed | result -5: fewer than 5 bytes of reply head", FormatTraceLine(mark));
    ASSERT_TRUE(ParseTraceLine(FormatTraceLine(mark), back, error)) << error;
    EXPECT_EQ(TraceDirection::Failed, back.direction);
    EXPECT_TRUE(back.bytes.empty());
    EXPECT_EQ("@000120", back.time);
}

TEST(TraceLine, BrokenLinesAreRefusedWithAReason) {
    TraceLine line;
    std::string error;
    const char* const broken[] = {
        "",
        "garbage",
        "2026-12-09 10:31:07 host 02 | x",          // no milliseconds
        "2026-12-09 10:31:07.123 sideways 02 | x",  // no such direction
        "2026-12-09 10:31:07.123 host 02 0G | x",   // not hex
        "2026-12-09 10:31:07.123 host 02 00",       // no meaning mark
        "2026-12-09 10:31:07.123 host | x",         // a frame line without bytes
        "2026-12-09 10:31:07.123 failed 05 | x",    // bytes on a mark
        "2026-12-09 10:31:07.123 host 020 | x",
    };
    for (const char* text : broken) {
        error.clear();
        EXPECT_FALSE(ParseTraceLine(text, line, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
    EXPECT_FALSE(ParseTraceLine("2026-12-09 10:31:07.123 host " + std::string(70000, 'A') + " | x", line, error));
}

TEST(TraceLine, DeviceTextIsQuotedWithControlBytesEscaped) {
    const uint8_t text[] = {'S', 'I', 'M', 0x00, 0x1B, '"', 0xC0};
    EXPECT_EQ("\"SIM\\x00\\x1B\\x22\\xC0\"", platform::QuotedText(text, sizeof text));
}

TEST(TraceSwitch, FoundInAWindowsCommandLine) {
    std::string path, error;
    ASSERT_TRUE(platform::FindTraceSwitch("--trace \"C:\\Service Logs\\site 4.txt\"", path, error));
    EXPECT_EQ("C:\\Service Logs\\site 4.txt", path);
    ASSERT_TRUE(platform::FindTraceSwitch("", path, error));
    EXPECT_TRUE(path.empty());
    EXPECT_FALSE(platform::FindTraceSwitch("--trace", path, error));
    EXPECT_EQ("--trace needs a file", error);
}

TEST(Capture, TextTraceOrRawBytes) {
    const std::string name = ::testing::TempDir() + "capture_test.bin";
    {
        std::ofstream out(name, std::ios::binary);
        out << "\n2026-12-09 10:31:07.123 host   02 00 01 FE FF | Simple poll to 2\r\nnot a line\n";
    }
    platform::Capture capture;
    std::string error;
    ASSERT_TRUE(platform::ReadCapture(name, capture, error)) << error;
    EXPECT_TRUE(capture.text);
    ASSERT_EQ(3u, capture.lines.size());
    EXPECT_EQ("not a line", capture.lines[2]);
    {
        std::ofstream out(name, std::ios::binary);
        out << std::string("\x02\x00\x01\xFE\xFF", 5);
    }
    ASSERT_TRUE(platform::ReadCapture(name, capture, error)) << error;
    EXPECT_FALSE(capture.text);
    EXPECT_EQ((std::vector<uint8_t>{2, 0, 1, 0xFE, 0xFF}), capture.bytes);
    std::remove(name.c_str());
    EXPECT_FALSE(platform::ReadCapture(name, capture, error));
}

} // namespace
