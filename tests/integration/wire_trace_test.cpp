// Ducat Console's wire trace and calibration report over real runs against
// the virtual acceptor: the trace decodes back to the same lines, sealed
// payloads are shown deciphered and checked, failed exchanges are marked,
// and the report's numbers are the coins the acceptor produced.
#include "acceptor_fixture.h"

#include "coindata/records/device_coin_table.h"
#include "commands/protocol/acceptor_layouts.h"
#include "commands/trace/ducat_capture_decode.h"
#include "commands/trace/program_wire_trace.h"
#include "link/com_thread.h"
#include "link/command_mailbox.h"
#include "tests/support/file_lines.h"
#include "tests/support/run_environment_parts.h"
#include "ui/report/calibration_report.h"
#include "platform/trace_line.h"
#include "ui/report/error_histogram_svg.h"
#include "ui/run_watch.h"

#include <fstream>
#include <iterator>
#include <random>
#include <regex>

namespace integration {
namespace {

using sim::DucatAcceptor;
using sim::DucatCoin;
using sim::DucatFault;

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

using testing_support::FileLines;

// The meaning part of every trace line that holds `text`.
std::vector<std::string> Meanings(const std::vector<std::string>& lines, const std::string& text) {
    std::vector<std::string> found;
    for (const std::string& line : lines) {
        const size_t bar = line.find(" | ");
        if (bar != std::string::npos && line.find(text) != std::string::npos) found.push_back(line.substr(bar + 3));
    }
    return found;
}

std::string Decoded(const std::string& path, std::string& errors) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    DecodeDucatCapture(path, out, err);
    const auto read = [](std::FILE* f) {
        std::rewind(f);
        std::string text;
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
        std::fclose(f);
        return text;
    };
    errors = read(err);
    return read(out);
}

class DucatWireTraceTest : public AcceptorTest {
protected:
    void SetUp() override {
        AcceptorTest::SetUp();
        tracePath = dumpFolder + "/trace.txt";
        std::string error;
        ASSERT_TRUE(StartDucatTrace(tracePath, error)) << error;
    }
    void TearDown() override {
        if (RunExists()) Stop();
        StopDucatTrace();
        AcceptorTest::TearDown();
    }
    std::string tracePath;
};

TEST_F(DucatWireTraceTest, MonitoringTraceDecodesBackToTheSameLines) {
    testing_support::PinCalendarTime(1577836800);
    OnDevice([](DucatAcceptor& d) {
        d.identity.serial = 777001;
        d.QueueCoin(DucatCoin{2, true, {1, 8}, {0, 5}});
        d.QueueCoin(DucatCoin{3, false, {4, 9}, {2, 6}});
        d.faults.Add({DucatFault::ShortReply, acceptor::kReadResult, 1, 0, 2});
    });
    const int polls = DeviceRequests(acceptor::kReadResult);
    ASSERT_TRUE(Start(acceptor::kSubIdentify, acceptor::kSubReadTable));
    ASSERT_TRUE(WaitForRequests(acceptor::kReadResult, polls, 6));
    ASSERT_TRUE(Stop());
    StopDucatTrace();

    const std::vector<std::string> lines = FileLines(tracePath);
    ASSERT_GT(lines.size(), 14u);
    EXPECT_EQ(2u, Meanings(lines, " port ").size()); // opened, closed
    const std::vector<std::string> identity = Meanings(lines, "identity:");
    ASSERT_EQ(1u, identity.size());
    EXPECT_EQ(0u, identity[0].find("identity: address 1, serial 777001 "));
    EXPECT_EQ("255.identification to 1, time 2020-01-01 00:00:00 UTC; checksum holds",
              Meanings(lines, "host   01 06 01 FF 00 00 00 E1 0B 5E")[0]);
    const std::vector<std::string> results = Meanings(lines, "best \"RU005B\"");
    ASSERT_FALSE(results.empty());
    EXPECT_EQ("best \"RU005B\" stat 1 neural 0 (sum 1), next \"RU010B\" stat 8 neural 5 (sum 13), row 2, stamp 1001, "
              "counter 1, accepted; CRC-16 holds, checksum holds",
              results[0]);
    // The reply cut short is marked with what the codec made of it.
    EXPECT_EQ(1u, Meanings(lines, "failed | short remainder:").size());

    std::string errors;
    EXPECT_EQ(FileText(tracePath), Decoded(tracePath, errors));
    EXPECT_EQ("", errors);
    // A damaged line is reported with its number; the others still decode.
    {
        std::ofstream out(tracePath, std::ios::binary | std::ios::app);
        out << "2026-12-09 10:31:07.123 device 01 ZZ | broken\n";
    }
    Decoded(tracePath, errors);
    EXPECT_EQ("line " + std::to_string(lines.size() + 1) + ": \"ZZ\" is not a byte in hex\n", errors);
}

TEST_F(DucatWireTraceTest, ARawCaptureOfTheSameBytesDecodesToTheSameFrames) {
    IdentifyAndReadTable();
    StopDucatTrace();
    // The frames' bytes one after the other, as a line monitor records them.
    std::vector<std::string> frames;
    const std::string rawPath = dumpFolder + "/capture.bin";
    {
        std::ofstream raw(rawPath, std::ios::binary);
        for (const std::string& text : FileLines(tracePath)) {
            platform::TraceLine line;
            std::string error;
            ASSERT_TRUE(ParseTraceLine(text, line, error)) << error;
            if (!CarriesFrame(line.direction)) continue;
            raw.write(reinterpret_cast<const char*>(line.bytes.data()), static_cast<std::streamsize>(line.bytes.size()));
            frames.push_back(text.substr(24));
        }
    }
    ASSERT_GE(frames.size(), 5u); // identification, table and a result, each asked and answered
    std::string errors;
    const std::string decoded = Decoded(rawPath, errors);
    std::vector<std::string> rawFrames;
    size_t offset = 0;
    for (size_t start = 0; start < decoded.size();) {
        const size_t end = decoded.find('\n', start);
        const std::string line = decoded.substr(start, end - start);
        ASSERT_EQ('@', line[0]) << line;
        EXPECT_EQ(platform::RawOffsetStamp(offset), line.substr(0, 7));
        rawFrames.push_back(line.substr(8));
        offset += (line.find(" | ") - 15 + 1) / 3; // "XX " a byte, the last one without its blank
        start = end + 1;
    }
    EXPECT_EQ(frames, rawFrames);
}

TEST_F(DucatWireTraceTest, SealedPayloadsAreShownDecipheredAndChecked) {
    testing_support::PinCalendarTime(1577836800);
    IdentifyAndReadTable();
    ASSERT_TRUE(stDeviceCoins.SetRowDividerAndInherit(3, 17, 0));
    Mailbox.iSelectedDeviceCoin = 3;
    const int polls = DeviceRequests(acceptor::kReadResult);
    ASSERT_TRUE(Start(acceptor::kSubWriteDivider, acceptor::kSubWriteDivider, false));
    ASSERT_TRUE(WaitForRequests(acceptor::kReadResult, polls));
    ASSERT_TRUE(Stop());
    const std::vector<std::string> lines = FileLines(tracePath);
    const std::vector<std::string> writes = Meanings(lines, "write coin divider");
    ASSERT_EQ(1u, writes.size());
    EXPECT_EQ("255.write coin divider to 1, row 3, allowed 0, divider 17, time 2020-01-01 00:00:00 UTC (deciphered, key "
              "20240117); CRC-16 holds, checksum holds",
              writes[0]);
    EXPECT_EQ(1u, Meanings(lines, "status 0: written, checksum holds").size());
}

TEST_F(DucatWireTraceTest, CalibrationReportHoldsTheCoinsTheAcceptorProduced) {
    CalibrationReport report;
    std::string error;
    const std::string folder = dumpFolder + "/report";
    ASSERT_TRUE(report.Open(folder, error)) << error;
    RunWatch watch; // looks once, after the run: every result is still in the history
    OnDevice([](DucatAcceptor& d) {
        d.params.maxError = 12;
        d.QueueCoin(DucatCoin{0, true, {9, 9}, {9, 9}}); // the acceptor's latest before the start: not kept
        d.QueueCoin(DucatCoin{2, true, {1, 8}, {0, 5}}); // RU005B sum 1, next 13
        d.QueueCoin(DucatCoin{2, true, {4, 9}, {2, 6}}); // RU005B sum 6, next 15
        d.QueueCoin(DucatCoin{2, false, {8, 9}, {6, 9}}); // RU005B sum 14, next 18
        d.QueueCoin(DucatCoin{4, true, {2, 20}, {1, 20}}); // RU1K0B sum 3, next 40
    });
    const int polls = DeviceRequests(acceptor::kReadResult);
    ASSERT_TRUE(Start(acceptor::kSubIdentify, acceptor::kSubReadTable));
    ASSERT_TRUE(WaitForRequests(acceptor::kReadResult, polls, 8)); // the last result repeats: kept once
    ASSERT_TRUE(Stop());
    const RunLook look = watch.Look([](const char*) {});
    report.Take(look.results, look.missedResults);
    const int maxError = stDeviceCoins.GetAcceptanceParams().Max_Error;
    ASSERT_EQ(12, maxError);
    ASSERT_TRUE(report.Finish(maxError, error)) << error;

    const std::vector<std::string> results = FileLines(folder + "/results.csv");
    ASSERT_EQ(5u, results.size());
    EXPECT_EQ("time,row,best_coin,best_stat,best_neural,best_sum,next_coin,next_stat,next_neural,next_sum,accepted,"
              "event_counter",
              results[0]);
    EXPECT_EQ(",2,RU005B,1,0,1,RU010B,8,5,13,1,2", results[1].substr(23));
    EXPECT_EQ(",2,RU005B,8,6,14,RU010B,9,9,18,0,4", results[3].substr(23));
    EXPECT_EQ(",4,RU1K0B,2,1,3,RU10K0,20,20,40,1,5", results[4].substr(23));

    const std::vector<std::string> summary = FileLines(folder + "/summary.csv");
    ASSERT_EQ(3u, summary.size());
    EXPECT_EQ("coin,seen,accepted,smallest_sum,median_sum,largest_sum,max_error,margin_to_max_error,margin_to_next",
              summary[0]);
    EXPECT_EQ("RU005B,3,2,1,6.0,14,12,-2,4", summary[1]);
    EXPECT_EQ("RU1K0B,1,1,3,3.0,3,12,9,37", summary[2]);

    // The histograms: one per coin, its bars' counts, Max_Error marked.
    const std::string svg = FileText(folder + "/errors.svg");
    EXPECT_EQ(0u, svg.find("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\""));
    EXPECT_EQ(svg.size() - 7, svg.rfind("</svg>\n"));
    const std::regex panel("<g class=\"coin\" data-coin=\"([A-Z0-9]+)\" data-seen=\"([0-9]+)\">");
    std::vector<std::string> coins;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), panel); it != std::sregex_iterator(); ++it) {
        coins.push_back((*it)[1].str() + "/" + (*it)[2].str());
    }
    EXPECT_EQ((std::vector<std::string>{"RU005B/3", "RU1K0B/1"}), coins);
    const std::regex bar("class=\"bar\" data-from=\"([0-9]+)\" data-to=\"([0-9]+)\" data-count=\"([0-9]+)\"");
    std::vector<std::string> bars;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), bar); it != std::sregex_iterator(); ++it) {
        bars.push_back((*it)[1].str() + "-" + (*it)[2].str() + ":" + (*it)[3].str());
    }
    EXPECT_EQ((std::vector<std::string>{"1-1:1", "6-6:1", "14-14:1", "3-3:1"}), bars);
    const std::regex marker("class=\"max-error\" data-max-error=\"12\"");
    EXPECT_EQ(2, std::distance(std::sregex_iterator(svg.begin(), svg.end(), marker), std::sregex_iterator()));
    EXPECT_NE(std::string::npos, svg.find(">RU005B: 3 coins, 2 accepted, error sum 1 to 14</text>"));
    EXPECT_NE(std::string::npos, svg.find(">Max_Error 12</text>"));
}

TEST(ErrorHistogram, WideSumsShareBinsAndStrayTextIsEscaped) {
    CoinSummary coin;
    coin.coin = "A<&\"1";
    coin.sumCounts = {{0, 1}, {1, 1}, {2, 1}, {250, 1}, {251, 1}, {400, 1}};
    const HistogramBins bins = BinSums(coin.sumCounts, 400);
    EXPECT_EQ(7, bins.width);
    EXPECT_EQ(3u, bins.counts[0]);
    EXPECT_EQ(2u, bins.counts[250 / 7]);
    EXPECT_EQ(1u, bins.counts.back());
    const std::string svg = ErrorHistogramSvg({coin}, 300);
    EXPECT_NE(std::string::npos, svg.find("data-coin=\"A&lt;&amp;&quot;1\""));
    EXPECT_EQ(std::string::npos, svg.find("A<&"));
}

} // namespace
} // namespace integration

namespace integration {
namespace {

// Random captures, raw and as trace lines of any bytes, decode without a
// fault (the sanitizer builds would see one).
TEST(DucatCaptureDecode, AnyBytesDecodeSafely) {
    std::mt19937 random(21);
    const std::string name = ::testing::TempDir() + "ducat_random.bin";
    std::FILE* sink = std::tmpfile();
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> bytes(random() % 700);
        for (auto& b : bytes) {
            const unsigned pick = random() % 8;
            b = static_cast<uint8_t>(pick == 0 ? 0xFF : pick == 1 ? 0x13 : pick == 2 ? 0x0A : random());
        }
        {
            std::ofstream out(name, std::ios::binary);
            if (round % 2 == 0) {
                out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            } else {
                for (size_t at = 0; at + 1 < bytes.size(); at += 1 + bytes[at] % 60) {
                    const size_t n = std::min<size_t>(1 + bytes[at + 1] % 280, bytes.size() - at);
                    const platform::TraceLine line{
                        "2026-12-09 10:31:07.123", at % 2 == 0 ? platform::TraceDirection::Host : platform::TraceDirection::Device,
                        std::vector<uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                                             bytes.begin() + static_cast<std::ptrdiff_t>(at + n)),
                        "x"};
                    out << FormatTraceLine(line) << "\n";
                }
            }
        }
        EXPECT_GE(DecodeDucatCapture(name, sink, sink), 0);
    }
    std::fclose(sink);
    std::remove(name.c_str());
}

} // namespace
} // namespace integration
