// The tap of the line: a listener wired to the bus hears every byte on the
// wire once, in wire order, with the noise, late replies, gaps and bursts of
// the line; on a pty it gets them on a second pty and its own writes go nowhere.
#include "sim/pty/line_model.h"
#include "sim/pty/pty_server.h"
#include "sim/standard/standard_acceptor.h"
#include "tests/support/pty_end.h"

#include <gtest/gtest.h>


namespace {

using Bytes = std::vector<uint8_t>;
using sim::LineTime;

LineTime Ms(int64_t ms) { return std::chrono::milliseconds(ms); }

const Bytes kSimplePoll = {2, 0, 1, 254, 255};
const Bytes kSerialRequest = {2, 0, 1, 242, 11};
const Bytes kAck = {1, 0, 2, 0, 253};

Bytes Join(const Bytes& a, const Bytes& b) {
    Bytes joined = a;
    joined.insert(joined.end(), b.begin(), b.end());
    return joined;
}

// A standard acceptor that notes every byte it hears.
class HeardAcceptor : public sim::Device {
public:
    void OnBytes(const uint8_t* data, size_t n, Bytes& out) override {
        heard.insert(heard.end(), data, data + n);
        acceptor.OnBytes(data, n, out);
    }
    void OnTick(uint64_t nowMs, Bytes& out) override { acceptor.OnTick(nowMs, out); }
    void OnLineIdle() override { acceptor.OnLineIdle(); }

    sim::StandardAcceptor acceptor;
    Bytes heard;
};

class LineTapTest : public ::testing::Test {
protected:
    void Open(sim::LineOptions options) {
        options.bitsPerSecond = 9600;
        line = std::make_unique<sim::LineModel>(device, std::move(options), 50, true);
    }

    // Runs the line as the server does, waking only when something is due.
    void RunFor(LineTime span) {
        const LineTime until = clock + span;
        for (LineTime t = clock; t <= until; t = line->NextDue()) {
            line->Advance(t);
            line->TakeForHost(t, host);
            line->TakeForTap(t, tap);
        }
        clock = until;
    }

    void Write(const Bytes& bytes) { line->FromHost(bytes.data(), bytes.size(), clock); }

    LineTime clock = Ms(1000);
    HeardAcceptor device;
    std::unique_ptr<sim::LineModel> line;
    Bytes host;
    Bytes tap;
};

TEST_F(LineTapTest, HearsTheHostsBytesAsTheDeviceDoesAndTheRepliesAsTheHostDoes) {
    sim::LineOptions options;
    options.noisePerByte = 0.03;
    options.seed = 11;
    options.replyDelayMinMs = 2;
    options.replyDelayMaxMs = 20;
    options.burstMs = 4;
    options.gapChance = 0.3;
    options.gapMs = 15;
    options.faults.push_back({254, 3, sim::LineFault::Late, 120});
    options.faults.push_back({242, 2, sim::LineFault::Stray, 0});
    Open(options);
    Bytes wire;
    for (int i = 0; i < 40; ++i) {
        const Bytes& request = i % 2 == 0 ? kSimplePoll : kSerialRequest;
        host.clear();
        device.heard.clear();
        Write(request);
        RunFor(Ms(300));
        // The host hears its request back as the echo, then the reply.
        ASSERT_GE(host.size(), request.size()) << i;
        wire = Join(wire, device.heard);
        wire = Join(wire, Bytes(host.begin() + static_cast<std::ptrdiff_t>(request.size()), host.end()));
    }
    EXPECT_EQ(wire, tap);
    const sim::LineCounters counters = line->Counters();
    EXPECT_GT(counters.flippedToDevice + counters.flippedToHost, 0u); // the noise was there
    EXPECT_EQ(2u, counters.faultsFired);
    EXPECT_EQ(tap.size(), counters.toTap);
    // A silent bus gives the tap nothing.
    tap.clear();
    RunFor(Ms(2000));
    EXPECT_TRUE(tap.empty());
}

TEST_F(LineTapTest, ALateReplyComesAfterTheRequestThatWentOnTheWireBeforeIt) {
    sim::LineOptions options;
    options.faults.push_back({254, 1, sim::LineFault::Late, 150});
    Open(options);
    Write(kSimplePoll);
    RunFor(Ms(100));
    EXPECT_EQ(kSimplePoll, tap); // nothing but the request so far
    Write(kSerialRequest);
    RunFor(Ms(300));
    // The first reply is still on its way while the second request is on
    // the wire; the second reply waits behind the first.
    const Bytes serialReply = {1, 3, 2, 0, 0x40, 0xE2, 0x01, 0xD7};
    EXPECT_EQ(Join(Join(Join(kSimplePoll, kSerialRequest), kAck), serialReply), tap);
}

using PtyEnd = testing_support::PtyEnd;

TEST(LineTapOnAPty, TheTapHearsTheExchangeAndWhatItWritesGoesNowhere) {
    sim::StandardAcceptor acceptor;
    sim::ServerOptions options;
    options.line.bitsPerSecond = 115200;
    options.tap = true;
    sim::PtyServer server(acceptor, options);
    ASSERT_TRUE(server.Ok());
    ASSERT_FALSE(server.TapPath().empty());
    EXPECT_NE(server.HostPath(), server.TapPath());
    const std::string link = testing::TempDir() + "line_tap_test_link";
    ASSERT_TRUE(server.LinkAs(link));
    EXPECT_EQ(link + "-tap", server.TapPath());
    server.Start();
    PtyEnd host(server.HostPath());
    PtyEnd tap(server.TapPath());
    ASSERT_TRUE(host.Ok());
    ASSERT_TRUE(tap.Ok());

    // What the tap writes reaches neither the device nor the host.
    tap.Write(kSimplePoll);
    EXPECT_TRUE(host.Read(1, 200).empty());
    host.Write(kSimplePoll);
    EXPECT_EQ(Join(kSimplePoll, kAck), host.Read(10));
    EXPECT_EQ(Join(kSimplePoll, kAck), tap.Read(10));
    EXPECT_TRUE(tap.Read(1, 200).empty());
    server.Stop();
    const sim::LineCounters counters = server.Counters();
    EXPECT_EQ(5u, counters.toDevice);
    EXPECT_EQ(5u, counters.droppedFromTap);
    EXPECT_EQ(10u, counters.toTap);
    EXPECT_EQ(0u, counters.lostToTap);
}

} // namespace
