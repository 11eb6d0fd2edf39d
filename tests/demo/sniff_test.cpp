// pollbench sniff: a listener on the line model's tap hears what the real
// Pollbench core and the virtual acceptor say to each other, frame for
// frame as the host's own trace has it, and counts the session as the host
// counts it; on a port in memory it never writes, finds frames after noise,
// reads CRC-16 frames and keeps its bytes for decode.
#include "demo/console/console_sniff.h"
#include "demo/report/poll_session.h"
#include "demo/trace/cct_capture_decode.h"
#include "demo/trace/cct_frame_cutter.h"
#include "platform/bus_listener.h"
#include "demo/trace/cct_crc16.h"
#include "demo/trace/cct_wire_trace.h"
#include "platform/clock.h"
#include "platform/trace_line.h"
#include "sim_fixture.h"
#include "tests/support/background_sniff.h"
#include "tests/support/file_lines.h"
#include "tests/support/fake_serial_port.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace {

using testing_support::FileLines;

using platform::TraceDirection;
using platform::TraceLine;
using Bytes = std::vector<uint8_t>;


std::string Folder(const std::string& name) {
    const std::filesystem::path folder =
        std::filesystem::path(::testing::TempDir()) / ("sniff-" + name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder.string();
}

// The trace lines among a sniff's output.
std::vector<TraceLine> TraceLines(const std::vector<std::string>& text) {
    std::vector<TraceLine> lines;
    for (const std::string& t : text) {
        TraceLine line;
        std::string error;
        if (platform::ParseTraceLine(t, line, error)) lines.push_back(line);
    }
    return lines;
}

// A frame as the test compares it: direction, bytes and meaning.
std::string Frame(const TraceLine& line) {
    return std::string(platform::DirectionWord(line.direction)) + " " +
           platform::HexBytes(line.bytes.data(), line.bytes.size()) + " | " + line.meaning;
}

std::vector<std::string> Frames(const std::vector<TraceLine>& lines, bool withEcho) {
    std::vector<std::string> frames;
    for (const TraceLine& line : lines) {
        if (platform::CarriesFrame(line.direction) && (withEcho || line.direction != TraceDirection::Echo)) {
            frames.push_back(Frame(line));
        }
    }
    return frames;
}

PollbenchArgs SniffArgsFor(const std::string& port) {
    PollbenchArgs args;
    args.command = "sniff";
    args.port = port;
    return args;
}

class SniffOnTap : public SimFixture {
protected:
    void TearDown() override { core.driver.trace = nullptr; }

    // Runs the sniff on the tap in a thread of its own until it has shown
    // the frames the host exchanged.
    void StartSniff(PollbenchArgs args) {
        args.port = line->TapPath();
        output = folder + "/sniff.txt";
        sniffer.Start(
            output,
            [args](std::FILE* out, const std::function<bool()>& stop) {
                return Sniff(args, platform::OpenSerialPort, out, stop);
            },
            [](const std::vector<std::string>& text) { return Frames(TraceLines(text), true).size(); });
    }

    // The host is done: the sniff ends once it has shown as many frames.
    std::vector<TraceLine> StopSniff(size_t frames) { return TraceLines(sniffer.Stop(frames)); }

    std::string folder = Folder("tap");
    std::string output;
    testing_support::BackgroundSniff sniffer;
    std::vector<TraceLine> hostTrace;
    PollSession hostSession{core};
    CctWireTrace wire{[this](const TraceLine& l) { hostTrace.push_back(l); }, {}};
};

TEST_F(SniffOnTap, ShowsEveryFrameAndCountsTheSessionAsTheHostDoes) {
    sim::ServerOptions options;
    options.tap = true;
    options.line.bitsPerSecond = 115200;
    options.line.replyDelayMinMs = 1;
    options.line.replyDelayMaxMs = 8;
    options.line.burstMs = 4;
    Start({}, options);
    core.driver.trace = wire.Hook();
    core.hooks.eventsRead = [this](const PollCounts& counts) { hostSession.OnEventsRead(counts); };
    std::string error;
    ASSERT_TRUE(hostSession.OpenReport(folder + "/host", error)) << error;
    PollbenchArgs args = SniffArgsFor("");
    args.reportDir = folder + "/heard";
    StartSniff(args);

    ASSERT_TRUE(Connect());
    ASSERT_EQ(1, core.PollStep()); // the baseline
    Device([](sim::StandardAcceptor& d) {
        d.InsertCoin(6);
        d.InsertCoin(2);
        d.ReportError(1);
    });
    ASSERT_EQ(1, core.PollStep());
    Device([](sim::StandardAcceptor& d) {
        for (int i = 0; i < 7; ++i) d.InsertCoin(4); // two of them lost between polls
    });
    ASSERT_EQ(1, core.PollStep());
    core.driver.cctClose();
    ASSERT_TRUE(hostSession.FinishReport(error)) << error;

    const std::vector<std::string> hostFrames = Frames(hostTrace, false);
    const std::vector<TraceLine> heard = StopSniff(hostFrames.size());
    EXPECT_EQ(0, sniffer.Status());
    // The tap hears the bus once: the host's frames and the replies, in
    // order, meaning what the host's own trace says they mean.
    EXPECT_EQ(hostFrames, Frames(heard, true));
    const std::vector<std::string> text = FileLines(output);
    ASSERT_FALSE(text.empty());
    const size_t requests = hostFrames.size() / 2;
    EXPECT_EQ("sniff: " + std::to_string(hostFrames.size()) + " frames, " + std::to_string(requests) +
                  " requests paired, 0 noise bytes",
              text.back());
    // The watched host's report reads as the host's own.
    const std::vector<std::string> summary = FileLines(folder + "/heard/summary.csv");
    EXPECT_EQ(FileLines(folder + "/host/summary.csv"), summary);
    EXPECT_NE(summary.end(), std::find(summary.begin(), summary.end(), "position,4,EU050A,0.50,5,2.50,"));
    EXPECT_NE(summary.end(), std::find(summary.begin(), summary.end(), "session,lost,,,2,,events lost between polls"));
}

// A sniff on a port in memory that holds `bytes`, ended once it read them all.
class SniffInMemory : public ::testing::Test {
protected:
    std::vector<std::string> Run(const Bytes& bytes, PollbenchArgs args = SniffArgsFor("/dev/ttyFAKE0")) {
        script.pending = {0x55}; // before the sniff began: dropped
        const std::string path = folder + "/out.txt";
        std::FILE* out = std::fopen(path.c_str(), "wb");
        const auto open = [this](const std::string& device, uint32_t& error) -> std::unique_ptr<platform::SerialPort> {
            return testing_support::OpenFakeSerialPort(script, log, device, error);
        };
        bool fed = false;
        // The bytes come once the line is set and listened to.
        status = Sniff(args, open, out, [&] {
            if (!fed) script.pending.assign(bytes.begin(), bytes.end());
            fed = true;
            return script.pending.empty();
        });
        std::fclose(out);
        return FileLines(path);
    }

    std::string folder = Folder("memory");
    testing_support::FakePortScript script;
    testing_support::FakePortLog log;
    int status = -1;
};

const Bytes kPoll = {2, 0, 1, 254, 255};
const Bytes kAck = {1, 0, 2, 0, 253};
const Bytes kSerialRequest = {2, 0, 1, 242, 11};
const Bytes kSerialReply = {1, 3, 2, 0, 0x40, 0xE2, 0x01, 0xD7};

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes joined;
    for (const Bytes& p : parts) joined.insert(joined.end(), p.begin(), p.end());
    return joined;
}

TEST_F(SniffInMemory, OnlyReadsSetsTheLineAndFindsFramesAfterNoise) {
    PollbenchArgs args = SniffArgsFor("/dev/ttyFAKE0");
    args.sniff.speed = 19200;
    const std::vector<std::string> text = Run(Join({kPoll, kPoll, kAck, {0x4F, 0x00, 0xE2}, kSerialRequest, kSerialReply}), args);
    EXPECT_EQ(0, status);
    EXPECT_EQ("listening on /dev/ttyFAKE0 at 19200 bit/s 8N1, not writing", text.front());
    EXPECT_EQ((std::vector<std::string>{"host 02 00 01 FE FF | Simple poll to 2", "echo 02 00 01 FE FF | echo of the request",
                                        "device 01 00 02 00 FD | from 2: ACK",
                                        "host 02 00 01 F2 0B | Request serial number to 2",
                                        "device 01 03 02 00 40 E2 01 D7 | from 2: serial number 123456"}),
              Frames(TraceLines(text), true));
    const std::vector<TraceLine> lines = TraceLines(text);
    ASSERT_EQ(6u, lines.size());
    EXPECT_EQ(TraceDirection::Noise, lines[3].direction);
    EXPECT_EQ("noise: 3 bytes at offset 15", lines[3].meaning);
    EXPECT_EQ("sniff: 5 frames, 2 requests paired, 3 noise bytes", text.back());
    // Not one byte out: the line set, what it held before dropped once, then reads only.
    EXPECT_TRUE(log.writes.empty());
    ASSERT_GE(log.calls.size(), 5u);
    EXPECT_EQ((std::vector<std::string>{"GetLine", "SetLine", "SetTimeouts", "Purge:0A"}),
              std::vector<std::string>(log.calls.begin(), log.calls.begin() + 4));
    for (size_t i = 4; i + 1 < log.calls.size(); ++i) EXPECT_EQ("Read:256", log.calls[i]);
    EXPECT_EQ("Close", log.calls.back());
    EXPECT_EQ(19200u, script.line.baudRate);
    EXPECT_EQ(8u, script.line.byteSize);
    EXPECT_EQ(0u, script.line.parity);
    EXPECT_EQ(0u, script.line.stopBits);
    EXPECT_EQ(1, log.closes);
}

TEST_F(SniffInMemory, ReadsCrc16FramesAsTheirSimpleForm) {
    const Bytes request = CctCrc16Frame(2, 242, {});
    const Bytes reply = CctCrc16Frame(1, 0, {0x40, 0xE2, 0x01});
    // CRC-16/CCITT over 02 00 F2: 0x... low byte in place of the source.
    const uint8_t crcData[] = {2, 0, 242};
    const uint16_t crc = CctCrc16(crcData, sizeof crcData);
    EXPECT_EQ((Bytes{2, 0, static_cast<uint8_t>(crc & 0xFF), 242, static_cast<uint8_t>(crc >> 8)}), request);
    const std::vector<std::string> text = Run(Join({request, reply, kPoll, kAck}));
    EXPECT_EQ((std::vector<std::string>{
                  "host " + platform::HexBytes(request.data(), request.size()) + " | Request serial number to 2 [CRC-16]",
                  "device " + platform::HexBytes(reply.data(), reply.size()) + " | from 2: serial number 123456 [CRC-16]",
                  "host 02 00 01 FE FF | Simple poll to 2", "device 01 00 02 00 FD | from 2: ACK"}),
              Frames(TraceLines(text), true));
    EXPECT_EQ("sniff: 4 frames, 2 requests paired, 0 noise bytes", text.back());
}

// A frame heard in two pieces: `pauseMs` between them, on a clock of the test's own.
std::vector<TraceLine> HeardInTwo(uint64_t pauseMs) {
    CctFrameCutter cutter;
    std::vector<TraceLine> lines;
    platform::BusListener listener(platform::CutterOf(cutter), [&lines](const TraceLine& l) { lines.push_back(l); });
    listener.Heard(kSerialRequest.data(), 3, 1000, "2026-12-09 10:31:07.100");
    listener.Silence(1000 + pauseMs);
    listener.Heard(kSerialRequest.data() + 3, 2, 1000 + pauseMs, "2026-12-09 10:31:07.200");
    listener.Heard(kSerialReply.data(), kSerialReply.size(), 1000 + pauseMs + 5, "2026-12-09 10:31:07.300");
    listener.End();
    return lines;
}

TEST(SniffGap, OfMoreThan50MsEndsAFrame) {
    const std::vector<TraceLine> whole = HeardInTwo(50);
    ASSERT_EQ(2u, whole.size());
    EXPECT_EQ(TraceDirection::Host, whole[0].direction);
    EXPECT_EQ("2026-12-09 10:31:07.100", whole[0].time); // the time of its first byte
    EXPECT_EQ("2026-12-09 10:31:07.300", whole[1].time);

    const std::vector<TraceLine> cut = HeardInTwo(51);
    ASSERT_EQ(3u, cut.size());
    EXPECT_EQ(TraceDirection::Noise, cut[0].direction);
    EXPECT_EQ(Bytes(kSerialRequest.begin(), kSerialRequest.begin() + 3), cut[0].bytes);
    EXPECT_EQ(TraceDirection::Noise, cut[1].direction);
    EXPECT_EQ("2026-12-09 10:31:07.200", cut[1].time);
    EXPECT_EQ(TraceDirection::Device, cut[2].direction);
}

TEST(Crc16, IsTheCcittCrcStartingAtZero) {
    const uint8_t check[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(0x31C3, CctCrc16(check, sizeof check)); // CRC-16/XMODEM's check value
    Bytes frame = CctCrc16Frame(40, 254, {});
    EXPECT_TRUE(CctCrc16Holds(frame.data(), frame.size()));
    frame[3] ^= 0x01;
    EXPECT_FALSE(CctCrc16Holds(frame.data(), frame.size()));
}

TEST_F(SniffInMemory, KeepsTheBytesWithTheirTimesForDecode) {
    PollbenchArgs args = SniffArgsFor("/dev/ttyFAKE0");
    args.sniff.rawFile = folder + "/raw.txt";
    const std::vector<std::string> text = Run(Join({kSerialRequest, {0x4F}, kSerialReply, kPoll, kAck}), args);
    const std::vector<std::string> raw = FileLines(args.sniff.rawFile);
    ASSERT_FALSE(raw.empty());
    TraceLine first;
    std::string error;
    ASSERT_TRUE(platform::ParseTraceLine(raw[0], first, error)) << error;
    EXPECT_EQ(TraceDirection::Raw, first.direction);
    EXPECT_EQ(kSerialRequest, Bytes(first.bytes.begin(), first.bytes.begin() + 5));

    const std::string decoded = folder + "/decoded.txt";
    std::FILE* out = std::fopen(decoded.c_str(), "wb");
    EXPECT_EQ(1, DecodeCctCapture(args.sniff.rawFile, out, stderr)); // the one noise line
    std::fclose(out);
    std::vector<std::string> shown = text;
    shown.erase(shown.begin()); // "listening on ..."
    shown.pop_back();           // the count
    EXPECT_EQ(shown, FileLines(decoded));
    EXPECT_EQ(5u, shown.size()); // request, noise, reply, poll, ACK
}

TEST_F(SniffInMemory, SaysWhyThePortDidNotOpen) {
    script.failOpen = true;
    script.systemError = ENOENT;
    const std::vector<std::string> text = Run({});
    EXPECT_EQ(1, status);
    ASSERT_EQ(1u, text.size());
    EXPECT_NE(std::string::npos, text[0].find("/dev/ttyFAKE0")) << text[0];
    EXPECT_NE(std::string::npos, text[0].find("no such port")) << text[0];
    EXPECT_TRUE(log.writes.empty());
}

TEST(SniffArguments, TakeSpeedRawReportAndTimeout) {
    PollbenchArgs args;
    std::string error;
    ASSERT_TRUE(ParsePollbenchArgs({"--port", "COM3", "sniff", "--speed", "19200", "--raw", "r.txt", "--report", "d",
                                    "--timeout", "5"},
                                   args, error))
        << error;
    EXPECT_EQ(19200u, args.sniff.speed);
    EXPECT_EQ("r.txt", args.sniff.rawFile);
    EXPECT_EQ("d", args.reportDir);
    EXPECT_EQ(5u, args.sniff.timeoutSeconds);
    args = PollbenchArgs{};
    error.clear();
    EXPECT_FALSE(ParsePollbenchArgs({"--port", "COM3", "sniff", "--speed", "96OO"}, args, error));
    EXPECT_EQ("--speed takes 300..1000000 bit/s", error);
    args = PollbenchArgs{};
    error.clear();
    EXPECT_FALSE(ParsePollbenchArgs({"--port", "COM3", "sniff", "--timeout", "0"}, args, error));
    EXPECT_EQ("--timeout takes 1..86400 seconds", error);
    args = PollbenchArgs{};
    error.clear();
    EXPECT_FALSE(ParsePollbenchArgs({"sniff"}, args, error)); // a port to listen on
}

} // namespace
