// ducat sniff on the line model's tap: it hears what the real service
// thread and the virtual acceptor say, frame for frame with the meaning
// the host's own trace gives, sealed payloads deciphered from the
// identification reply on; begun mid-session it says it has no key and
// shows the sealed bytes; it never writes.
#include "acceptor_fixture.h"

#include "coindata/records/device_coin_table.h"
#include "commands/trace/program_wire_trace.h"
#include "commands/protocol/acceptor_layouts.h"
#include "link/command_mailbox.h"
#include "link/com_thread.h"
#include "platform/clock.h"
#include "platform/trace_line.h"
#include "tests/support/background_sniff.h"
#include "tests/support/file_lines.h"
#include "tests/support/fake_serial_port.h"
#include "tests/support/run_environment_parts.h"
#include "ui/console/console_commands.h"
#include "ui/console/console_sniff.h"

#include <deque>

namespace integration {
namespace {

using testing_support::FileLines;

using platform::TraceDirection;
using platform::TraceLine;
using sim::DucatAcceptor;
using sim::DucatCoin;

constexpr uint32_t kSpeed = 115200;

// "host 01 02 ... | meaning" for every frame line of `text`.
std::vector<std::string> Frames(const std::vector<std::string>& text) {
    std::vector<std::string> frames;
    for (const std::string& t : text) {
        TraceLine line;
        std::string error;
        if (!platform::ParseTraceLine(t, line, error) || !platform::CarriesFrame(line.direction)) continue;
        frames.push_back(std::string(platform::DirectionWord(line.direction)) + " " +
                         platform::HexBytes(line.bytes.data(), line.bytes.size()) + " | " + line.meaning);
    }
    return frames;
}

class DucatSniffTest : public AcceptorTest {
protected:
    DucatSniffTest() {
        serverOptions.tap = true;
        serverOptions.line.bitsPerSecond = kSpeed;
        serverOptions.line.replyDelayMinMs = 1;
        serverOptions.line.replyDelayMaxMs = 8;
        serverOptions.line.burstMs = 4;
    }
    void TearDown() override {
        if (RunExists()) Stop();
        StopDucatTrace();
        if (sniffer.Running()) sniffer.Stop(0);
        AcceptorTest::TearDown();
    }

    void StartSniff() {
        sniffer.Start(
            dumpFolder + "/sniff.txt",
            [this](std::FILE* out, const std::function<bool()>& stop) {
                return SniffLink(ConsoleOptions{}, TapPath(), kSpeed, platform::OpenSerialPort, out, {}, stop);
            },
            [](const std::vector<std::string>& text) { return Frames(text).size(); });
    }

    std::vector<std::string> StopSniff(size_t frames) { return sniffer.Stop(frames); }

    // A divider write of row 3 and the first result after it.
    void WriteDivider() {
        ASSERT_TRUE(stDeviceCoins.SetRowDividerAndInherit(3, 17, 0));
        Mailbox.iSelectedDeviceCoin = 3;
        const int polls = DeviceRequests(acceptor::kReadResult);
        ASSERT_TRUE(Start(acceptor::kSubWriteDivider, acceptor::kSubWriteDivider, false));
        ASSERT_TRUE(WaitForRequests(acceptor::kReadResult, polls));
        ASSERT_TRUE(Stop());
    }

    testing_support::BackgroundSniff sniffer;
};

TEST_F(DucatSniffTest, ShowsEveryFrameWithTheMeaningOfTheHostsTrace) {
    testing_support::PinCalendarTime(1577836800);
    OnDevice([](DucatAcceptor& d) {
        d.identity.serial = 777001;
        d.QueueCoin(DucatCoin{2, true, {1, 8}, {0, 5}});
    });
    const std::string tracePath = dumpFolder + "/trace.txt";
    std::string error;
    ASSERT_TRUE(StartDucatTrace(tracePath, error)) << error;
    StartSniff();
    const int polls = DeviceRequests(acceptor::kReadResult);
    ASSERT_TRUE(Start(acceptor::kSubIdentify, acceptor::kSubReadTable));
    ASSERT_TRUE(WaitForRequests(acceptor::kReadResult, polls, 3));
    ASSERT_TRUE(Stop());
    WriteDivider();
    StopDucatTrace();

    const std::vector<std::string> hostFrames = Frames(FileLines(tracePath));
    const std::vector<std::string> text = StopSniff(hostFrames.size());
    EXPECT_EQ(kExitSuccess, sniffer.Status());
    EXPECT_EQ(hostFrames, Frames(text));
    // The sealed write deciphered with the key of the identification heard.
    bool deciphered = false;
    for (const std::string& frame : Frames(text)) {
        deciphered |= frame.find("255.write coin divider to 1, row 3, allowed 0, divider 17, time 2020-01-01 00:00:00 "
                                 "UTC (deciphered, key 777001); CRC-16 holds, checksum holds") != std::string::npos;
    }
    EXPECT_TRUE(deciphered);
    EXPECT_EQ("sniff: " + std::to_string(hostFrames.size()) + " frames, " + std::to_string(hostFrames.size() / 2) +
                  " requests paired, 0 noise bytes",
              text.back());
}

TEST_F(DucatSniffTest, BegunMidSessionSaysItHasNoKeyAndShowsTheSealedBytes) {
    IdentifyAndReadTable(); // before the sniff: the key goes unheard
    StartSniff();
    WriteDivider();
    const std::vector<std::string> text = StopSniff(4); // the write, its status, a result asked and answered
    EXPECT_EQ(kExitSuccess, sniffer.Status());
    std::vector<std::string> sealed;
    for (const std::string& frame : Frames(text)) {
        if (frame.find("255.write coin divider") != std::string::npos) sealed.push_back(frame);
    }
    ASSERT_EQ(1u, sealed.size());
    EXPECT_NE(std::string::npos, sealed[0].find("no key yet (no identification reply heard), sealed ")) << sealed[0];
    EXPECT_EQ(std::string::npos, sealed[0].find("deciphered")) << sealed[0];
    int notes = 0;
    for (const std::string& line : text) notes += line.rfind("no key yet: the sniff began mid-session", 0) == 0;
    EXPECT_EQ(1, notes);
}

TEST(DucatSniffInMemory, OnlyReadsAndSaysWhyAPortDidNotOpen) {
    testing_support::FakePortScript script;
    testing_support::FakePortLog log;
    // An identification request, noise, and a read-result request heard twice
    // in a row (a tap on the host's transmit line of a one-wire bus).
    const std::deque<uint8_t> heard = {0x01, 0x06, 0x01, 0xFF, 0x00, 0x00, 0x00, 0xE1, 0x0B, 0x5E, 0xAF, 0x0B, 0x4F,
                                       0x00, 0x01, 0x02, 0x01, 0xFF, 0x10, 0x00, 0xED,
                                       0x01, 0x02, 0x01, 0xFF, 0x10, 0x00, 0xED};
    script.pending = {0x55, 0x55}; // before the sniff began: dropped
    bool fed = false;
    // The bytes come once the line is set and listened to.
    const auto stop = [&] {
        if (!fed) script.pending = heard;
        fed = true;
        return script.pending.empty();
    };
    const auto open = [&](const std::string& name, uint32_t& error) -> std::unique_ptr<platform::SerialPort> {
        return testing_support::OpenFakeSerialPort(script, log, name, error);
    };
    std::FILE* out = std::tmpfile();
    EXPECT_EQ(kExitSuccess, SniffLink(ConsoleOptions{}, "/dev/ttyFAKE1", 9600, open, out, {}, stop));
    std::rewind(out);
    std::string text;
    for (int c; (c = std::fgetc(out)) != EOF;) text += static_cast<char>(c);
    std::fclose(out);
    EXPECT_NE(std::string::npos, text.find("host   01 06 01 FF 00 00 00 E1 0B 5E AF | 255.identification to 1")) << text;
    EXPECT_NE(std::string::npos, text.find("noise  0B 4F 00 | noise: 3 bytes at offset 11")) << text;
    EXPECT_NE(std::string::npos, text.find("host   01 02 01 FF 10 00 ED | 255.read coin result to 1")) << text;
    EXPECT_NE(std::string::npos, text.find("echo   01 02 01 FF 10 00 ED | echo of the request")) << text;
    EXPECT_NE(std::string::npos, text.find("sniff: 3 frames, 0 requests paired, 3 noise bytes\n")) << text;
    EXPECT_TRUE(log.writes.empty());
    // Set, the old bytes dropped once, then only read.
    ASSERT_GE(log.calls.size(), 5u);
    EXPECT_EQ((std::vector<std::string>{"GetLine", "SetLine", "SetTimeouts", "Purge:0A"}),
              std::vector<std::string>(log.calls.begin(), log.calls.begin() + 4));
    for (size_t i = 4; i + 1 < log.calls.size(); ++i) EXPECT_EQ("Read:256", log.calls[i]);
    EXPECT_EQ("Close", log.calls.back());
    EXPECT_EQ(9600u, script.line.baudRate);

    script.failOpen = true;
    script.systemError = ENOENT;
    out = std::tmpfile();
    EXPECT_EQ(kExitFailure, SniffLink(ConsoleOptions{}, "/dev/ttyFAKE1", 9600, open, out, {}, [] { return true; }));
    std::rewind(out);
    text.clear();
    for (int c; (c = std::fgetc(out)) != EOF;) text += static_cast<char>(c);
    std::fclose(out);
    EXPECT_NE(std::string::npos, text.find("/dev/ttyFAKE1: no such port")) << text;
}

} // namespace
} // namespace integration
