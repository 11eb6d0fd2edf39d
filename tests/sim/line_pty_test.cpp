// The line model on a real pty: a host writes standard frames to a virtual
// acceptor served through a PtyServer and reads back the echo and the reply
// as the line options make them.
#include "sim/pty/pty_server.h"
#include "sim/standard/standard_line.h"
#include "tests/support/pty_end.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

const Bytes kSimplePoll = {2, 0, 1, 254, 255};
const Bytes kAck = {1, 0, 2, 0, 253};

using Host = testing_support::PtyEnd;

TEST(LineOnAPty, TheReplyComesAfterTheEchoAndTheDelay) {
    sim::ServerOptions options;
    options.line.bitsPerSecond = 115200;
    options.line.replyDelayMinMs = 30;
    options.line.replyDelayMaxMs = 30;
    sim::StandardLine line({}, options);
    ASSERT_TRUE(line.Ok());
    Host host(line.HostPath());
    ASSERT_TRUE(host.Ok());

    const auto sent = Clock::now();
    host.Write(kSimplePoll);
    EXPECT_EQ(host.Read(5), kSimplePoll);
    EXPECT_EQ(host.Read(5), kAck);
    // The delay is the least the reply can take; a busy machine only adds to it.
    EXPECT_GE(Clock::now() - sent, std::chrono::milliseconds(30));
}

TEST(LineOnAPty, AOneShotFaultSpoilsOnlyItsRequestAndTheLineCountsIt) {
    sim::ServerOptions options;
    options.line.faults.push_back({254, 1, sim::LineFault::Silence, 0});
    options.line.faults.push_back({254, 2, sim::LineFault::Length, 0});
    sim::StandardLine line({}, options);
    ASSERT_TRUE(line.Ok());
    Host host(line.HostPath());
    ASSERT_TRUE(host.Ok());

    host.Write(kSimplePoll);
    EXPECT_EQ(host.Read(5), kSimplePoll);
    // No reply comes; the host asks again after a pause, as a driver does.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    host.Write(kSimplePoll);
    Bytes spoilt = kSimplePoll;
    spoilt.insert(spoilt.end(), {1, 0xFF, 2, 0, 253}); // the length byte one smaller
    EXPECT_EQ(host.Read(10), spoilt);
    host.Write(kSimplePoll);
    Bytes clean = kSimplePoll;
    clean.insert(clean.end(), kAck.begin(), kAck.end());
    EXPECT_EQ(host.Read(10), clean);

    const sim::LineCounters counted = line.Counters();
    EXPECT_EQ(counted.requests, 3u);
    EXPECT_EQ(counted.faultsFired, 2u);
    EXPECT_EQ(counted.toDevice, 15u);
    EXPECT_EQ(counted.toHost, 25u);
}

} // namespace
