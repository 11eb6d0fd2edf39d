// Pollbench's wire trace against the virtual acceptor: one line per frame
// with its meaning, failed exchanges marked with their result, and a trace
// that decodes back to the very same lines.
#include "demo/trace/cct_capture_decode.h"
#include "demo/trace/cct_wire_trace.h"
#include "sim_fixture.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

namespace {

using platform::TraceDirection;
using platform::TraceLine;

class CctWireTraceTest : public SimFixture {
protected:
    // The core outlives this fixture's trace: its driver must not call it
    // when it closes the port at its end.
    void TearDown() override { core.driver.trace = nullptr; }
    void Trace() {
        core.driver.trace = wire.Hook();
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const TraceLine& l : lines) texts.push_back(FormatTraceLine(l));
        return texts;
    }
    // The meanings of the lines of one direction.
    std::vector<std::string> Meanings(TraceDirection direction) const {
        std::vector<std::string> found;
        for (const TraceLine& l : lines) {
            if (l.direction == direction) found.push_back(l.meaning);
        }
        return found;
    }
    std::vector<TraceLine> lines;
    std::vector<CctExchange> exchanges;
    CctWireTrace wire{[this](const TraceLine& l) { lines.push_back(l); },
                      [this](const CctExchange& x) { exchanges.push_back(x); }};
};

TEST_F(CctWireTraceTest, EveryFrameWithItsMeaningAndFailuresMarked) {
    Start();
    Trace();
    ASSERT_TRUE(Connect());
    CctReply reply;
    ASSERT_EQ(0, core.driver.Request(kHdrSimplePoll, {}, reply));
    const size_t before = lines.size();
    ASSERT_EQ(0, core.driver.Request(kHdrSimplePoll, {}, reply));
    ASSERT_EQ(before + 3, lines.size());
    EXPECT_EQ("host   02 00 01 FE FF | Simple poll to 2", FormatTraceLine(lines[before]).substr(24));
    EXPECT_EQ("echo   02 00 01 FE FF | echo of the request", FormatTraceLine(lines[before + 1]).substr(24));
    EXPECT_EQ("device 01 00 02 00 FD | from 2: ACK", FormatTraceLine(lines[before + 2]).substr(24));
    EXPECT_EQ(23u, lines[before].time.size()); // "YYYY-MM-DD hh:mm:ss.mmm"

    const std::vector<std::string> replies = Meanings(TraceDirection::Device);
    const auto has = [&](const std::string& text) {
        for (const auto& r : replies) {
            if (r == text) return true;
        }
        return false;
    };
    EXPECT_TRUE(has("from 2: manufacturer \"SIM\""));
    EXPECT_TRUE(has("from 2: serial number 123456"));
    EXPECT_TRUE(has("from 2: option flags 0xC0 TE"));
    EXPECT_TRUE(has("from 2: coin id \"EU020A\""));
    EXPECT_TRUE(has("from 2: enabled positions 1-16"));

    // A reply whose checksum is wrong, then silence: marked with the codes.
    Device([](sim::StandardAcceptor& d) {
        d.InjectFault(sim::StandardFault::BadChecksum);
        d.InjectFault(sim::StandardFault::Silent);
    });
    EXPECT_EQ(-kExchangeBadChecksum, core.driver.Request(kHdrSimplePoll, {}, reply));
    EXPECT_EQ(-kExchangeHeadShort, core.driver.Request(kHdrSimplePoll, {}, reply));
    const std::vector<std::string> failed = Meanings(TraceDirection::Failed);
    ASSERT_EQ(2u, failed.size());
    EXPECT_EQ("result -9: the reply's bytes do not sum to 0", failed[0]);
    EXPECT_EQ("result -5: fewer than 5 bytes of reply head", failed[1]);
    EXPECT_EQ("from 2: ACK; checksum WRONG", Meanings(TraceDirection::Device).back());
    ASSERT_GE(exchanges.size(), 2u);
    EXPECT_EQ(kExchangeBadChecksum, exchanges[exchanges.size() - 2].result);
    EXPECT_EQ(kExchangeHeadShort, exchanges.back().result);
    EXPECT_TRUE(exchanges.back().reply.empty());
    EXPECT_EQ((std::vector<uint8_t>{2, 0, 1, 0xFE, 0xFF}), exchanges.back().echo);
}

TEST_F(CctWireTraceTest, WhatComesAfterAFailureIsShownAsDiscarded) {
    // Three stray bytes come before the second simple poll's reply: the
    // head read takes them, the rest of the reply is still coming.
    sim::ServerOptions options;
    options.line.faults.push_back({kHdrSimplePoll, 2, sim::LineFault::Stray, 0});
    Start({}, options);
    Trace();
    ASSERT_TRUE(Connect());
    CctReply reply;
    EXPECT_LT(core.driver.Request(kHdrSimplePoll, {}, reply), 0);
    ASSERT_FALSE(lines.empty());
    const TraceLine& last = lines.back().direction == TraceDirection::Port ? lines[lines.size() - 2] : lines.back();
    EXPECT_EQ(TraceDirection::Noise, last.direction);
    EXPECT_EQ("discarded: came after the exchange had failed", last.meaning);
    EXPECT_FALSE(last.bytes.empty());
    EXPECT_EQ(0xFD, last.bytes.back()); // the acknowledgement's last byte
    EXPECT_EQ(0, core.driver.Request(kHdrSimplePoll, {}, reply));
}

TEST_F(CctWireTraceTest, CreditEventsWithCoinIdsErrorTextsAndLostEvents) {
    Start();
    Trace();
    ASSERT_TRUE(Connect());
    ASSERT_EQ(1, core.PollStep()); // the baseline
    Device([](sim::StandardAcceptor& d) {
        d.InsertCoin(3);
        d.ReportError(1);
    });
    ASSERT_EQ(1, core.PollStep());
    EXPECT_EQ("from 2: counter 2, 2 new; 1: error 1 (coin rejected), 2: coin 3 EU020A path 3, 3: -, 4: -, 5: -",
              Meanings(TraceDirection::Device).back());
    Device([](sim::StandardAcceptor& d) {
        for (int i = 0; i < 7; ++i) d.InsertCoin(1);
    });
    ASSERT_EQ(1, core.PollStep());
    EXPECT_NE(std::string::npos, Meanings(TraceDirection::Device).back().find("counter 9, 7 new, lost 2 events between polls;"));
}

TEST_F(CctWireTraceTest, ATraceDecodesBackToTheSameLines) {
    Start();
    Trace();
    ASSERT_TRUE(Connect());
    Device([](sim::StandardAcceptor& d) {
        d.InsertCoin(2);
        d.InjectFault(sim::StandardFault::ShortReply);
    });
    core.PollStep();
    core.PollStep();
    core.ConnectionTick();
    const std::string name = ::testing::TempDir() + "pollbench_trace.txt";
    {
        std::ofstream out(name, std::ios::binary);
        for (const std::string& text : Texts()) out << text << "\n";
        out << "\nthis line is no trace line\n";
    }
    std::FILE* decoded = std::tmpfile();
    std::FILE* errors = std::tmpfile();
    ASSERT_EQ(1, DecodeCctCapture(name, decoded, errors));
    const auto read = [](std::FILE* f) {
        std::rewind(f);
        std::string text;
        char buffer[4096];
        size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
        std::fclose(f);
        return text;
    };
    std::string expected;
    for (const std::string& text : Texts()) expected += text + "\n";
    EXPECT_GT(lines.size(), 100u);
    EXPECT_EQ(expected, read(decoded));
    EXPECT_EQ("line " + std::to_string(lines.size() + 2) + ": no time stamp at the start\n", read(errors));
    std::remove(name.c_str());
}

TEST(CaptureDecode, ARawCaptureIsCutIntoFramesAndEchoes) {
    const std::string name = ::testing::TempDir() + "pollbench_raw.bin";
    {
        // Simple poll, its echo, the acknowledgement, then a cut-off request:
        // no frame, so noise.
        const uint8_t bytes[] = {2, 0, 1, 0xFE, 0xFF, 2, 0, 1, 0xFE, 0xFF, 1, 0, 2, 0, 0xFD, 2, 3, 1};
        std::ofstream out(name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
    }
    std::FILE* decoded = std::tmpfile();
    ASSERT_EQ(1, DecodeCctCapture(name, decoded, stderr)); // one noise line
    std::rewind(decoded);
    char buffer[1024] = {};
    const size_t n = std::fread(buffer, 1, sizeof buffer - 1, decoded);
    std::fclose(decoded);
    EXPECT_EQ("@000000 host   02 00 01 FE FF | Simple poll to 2\n"
              "@000005 echo   02 00 01 FE FF | echo of the request\n"
              "@000010 device 01 00 02 00 FD | from 2: ACK\n"
              "@000015 noise  02 03 01 | noise: 3 bytes at offset 15\n",
              std::string(buffer, n));
    std::remove(name.c_str());
    EXPECT_EQ(-1, DecodeCctCapture(name, stdout, std::tmpfile()));
}

} // namespace

namespace {

// Random captures, raw and as trace lines of any bytes, decode without a
// fault (the sanitizer builds would see one).
TEST(CaptureDecode, AnyBytesDecodeSafely) {
    std::mt19937 random(12);
    const std::string name = ::testing::TempDir() + "pollbench_random.bin";
    std::FILE* sink = std::tmpfile();
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> bytes(random() % 300);
        for (auto& b : bytes) b = static_cast<uint8_t>(random() % 4 == 0 ? 1 : random());
        {
            std::ofstream out(name, std::ios::binary);
            if (round % 2 == 0) {
                out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            } else {
                const platform::TraceDirection directions[] = {TraceDirection::Host, TraceDirection::Echo,
                                                               TraceDirection::Device};
                for (size_t at = 0; at + 1 < bytes.size(); at += 1 + bytes[at] % 20) {
                    const size_t n = std::min<size_t>(1 + bytes[at + 1] % 30, bytes.size() - at);
                    const TraceLine line{"2026-12-09 10:31:07.123", directions[at % 3],
                                         std::vector<uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                                                              bytes.begin() + static_cast<std::ptrdiff_t>(at + n)),
                                         "x"};
                    out << FormatTraceLine(line) << "\n";
                }
            }
        }
        EXPECT_GE(DecodeCctCapture(name, sink, sink), 0);
    }
    std::fclose(sink);
    std::remove(name.c_str());
}

} // namespace
