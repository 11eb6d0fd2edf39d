// The virtual standard acceptor, bytes in and bytes out: echo, framing,
// answers, the event buffer, coins, teach mode and faults.
#include "sim/standard/standard_acceptor.h"
#include "sim/standard/standard_options.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Frame(uint8_t destination, uint8_t header, const Bytes& data = {}) {
    // Head and data in one go: growing the four-byte head by insert makes
    // g++ -O3 warn of a copy past its end that never happens.
    Bytes f(4 + data.size());
    f[0] = destination;
    f[1] = static_cast<uint8_t>(data.size());
    f[2] = 1;
    f[3] = header;
    std::copy(data.begin(), data.end(), f.begin() + 4);
    unsigned sum = 0;
    for (uint8_t b : f) sum += b;
    f.push_back(static_cast<uint8_t>(0x100 - (sum & 0xFF)));
    return f;
}

class StandardAcceptorTest : public ::testing::Test {
protected:
    // What the device sends back for one request, without the echo.
    Bytes Ask(uint8_t header, const Bytes& data = {}) {
        const Bytes request = Frame(device.Config().address, header, data);
        Bytes out;
        device.OnBytes(request.data(), request.size(), out);
        const size_t echo = device.Config().echo ? request.size() : 0;
        EXPECT_GE(out.size(), echo);
        return Bytes(out.begin() + static_cast<std::ptrdiff_t>(std::min(echo, out.size())), out.end());
    }
    // The data of an answer, checking its frame.
    Bytes Data(uint8_t header, const Bytes& data = {}) {
        const Bytes reply = Ask(header, data);
        EXPECT_GE(reply.size(), 5u);
        if (reply.size() < 5) return {};
        EXPECT_EQ(reply.size(), 5u + reply[1]);
        EXPECT_EQ(reply[0], 1);
        EXPECT_EQ(reply[2], device.Config().address);
        EXPECT_EQ(reply[3], 0);
        return Bytes(reply.begin() + 4, reply.end() - 1);
    }

    sim::StandardAcceptor device;
};

TEST_F(StandardAcceptorTest, EchoesTheHostAndAcknowledgesASimplePoll) {
    Bytes out;
    const Bytes poll = Frame(2, 254);
    device.OnBytes(poll.data(), poll.size(), out);
    EXPECT_EQ(out, (Bytes{0x02, 0x00, 0x01, 0xFE, 0xFF, 0x01, 0x00, 0x02, 0x00, 0xFD}));
    device.SetEcho(false);
    out.clear();
    device.OnBytes(poll.data(), poll.size(), out);
    EXPECT_EQ(out, (Bytes{0x01, 0x00, 0x02, 0x00, 0xFD}));
}

TEST_F(StandardAcceptorTest, FrameInPiecesIsAnsweredWhenComplete) {
    const Bytes poll = Frame(2, 254);
    Bytes out;
    device.OnBytes(poll.data(), 2, out);
    EXPECT_EQ(out.size(), 2u);
    device.OnBytes(poll.data() + 2, 3, out);
    EXPECT_EQ(out.size(), 10u);
}

TEST_F(StandardAcceptorTest, OtherAddressesDamagedFramesAndUnknownHeadersGoUnanswered) {
    Bytes out;
    const Bytes other = Frame(3, 254);
    device.OnBytes(other.data(), other.size(), out);
    EXPECT_EQ(out, other); // the echo only
    Bytes damaged = Frame(2, 254);
    damaged[4] ^= 1;
    out.clear();
    device.OnBytes(damaged.data(), damaged.size(), out);
    EXPECT_EQ(out, damaged);
    EXPECT_TRUE(Ask(100).empty());
    sim::StandardConfig c;
    sim::DropOptionFlags(c);
    sim::StandardAcceptor without(c);
    Bytes reply;
    const Bytes flags = Frame(2, 213);
    without.OnBytes(flags.data(), flags.size(), reply);
    EXPECT_EQ(reply, flags);
}

TEST_F(StandardAcceptorTest, PartialFrameIsDroppedWhenTheLineFallsIdle) {
    const Bytes poll = Frame(2, 254);
    Bytes out;
    device.OnBytes(poll.data(), 3, out);
    device.OnLineIdle();
    out.clear();
    device.OnBytes(poll.data(), poll.size(), out);
    EXPECT_EQ(out.size(), 10u);
}

TEST_F(StandardAcceptorTest, IdentityAnswers) {
    device.Config().manufacturer = "ABC";
    device.Config().serialNumber = 0x030201;
    EXPECT_EQ(Data(246), (Bytes{'A', 'B', 'C'}));
    EXPECT_EQ(Data(242), (Bytes{1, 2, 3}));
    EXPECT_EQ(Data(213), (Bytes{0xC0}));
    EXPECT_EQ(Data(184, {6}), (Bytes{'E', 'U', '2', '0', '0', 'A'}));
    EXPECT_EQ(Data(184, {7}), (Bytes{'.', '.', '.', '.', '.', '.'}));
    EXPECT_EQ(Ask(184, {17})[3], 5); // no position 17: refused
}

TEST_F(StandardAcceptorTest, SettingsAreKeptAndReadBack) {
    EXPECT_TRUE(Data(231, {0x0F, 0x80}).empty());
    EXPECT_EQ(Data(230), (Bytes{0x0F, 0x80}));
    EXPECT_EQ(device.InhibitMask(), 0x800F);
    Data(228, {0});
    EXPECT_EQ(Data(227), (Bytes{0}));
    Data(210, {5, 3});
    EXPECT_EQ(Data(209, {5}), (Bytes{3}));
    Data(189, {4});
    EXPECT_EQ(Data(188), (Bytes{4}));
    Data(222, {0xFD});
    EXPECT_EQ(Data(221), (Bytes{0xFD}));
    EXPECT_EQ(Ask(231, {1})[3], 5); // one byte short: refused
}

TEST_F(StandardAcceptorTest, LongSorterTakesAndGivesFourPaths) {
    device.Config().longSorter = true;
    Data(210, {2, 1, 2, 3, 4});
    EXPECT_EQ(Data(209, {2}), (Bytes{1, 2, 3, 4}));
    Data(210, {2, 5});
    EXPECT_EQ(Data(209, {2}), (Bytes{5, 0, 0, 0}));
}

TEST_F(StandardAcceptorTest, EventCounterWrapsToOneAndResetsToZero) {
    EXPECT_EQ(Data(229), Bytes(11, 0));
    device.SetEventCounter(253);
    device.PushEvent(3, 2);
    device.ReportError(120);
    EXPECT_EQ(Data(229), (Bytes{255, 0, 120, 3, 2, 0, 0, 0, 0, 0, 0}));
    device.PushEvent(4, 1);
    EXPECT_EQ(Data(229)[0], 1);
    device.ResetCounter();
    EXPECT_EQ(Data(229), Bytes(11, 0));
    // What a host should have counted survives the reset.
    const sim::StandardEventTally& tally = device.EventTally();
    EXPECT_EQ(3u, tally.events);
    EXPECT_EQ(1u, tally.credits[3]);
    EXPECT_EQ(1u, tally.credits[4]);
    EXPECT_EQ(1u, tally.errors);
}

TEST_F(StandardAcceptorTest, CoinsGoTheWayTheSettingsSay) {
    device.InsertCoin(3); // everything inhibited at power-up
    EXPECT_EQ(Data(229), (Bytes{1, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0}));
    Data(231, {0xFF, 0xFF});
    device.SetSorterPaths(3, {2, 0, 0, 0});
    device.InsertCoin(3);
    EXPECT_EQ(Data(229)[1], 3);
    EXPECT_EQ(Data(229)[2], 2);
    Data(222, {0xFD}); // outlet 2 full: the default path
    Data(189, {5});
    device.InsertCoin(3);
    EXPECT_EQ(Data(229)[2], 5);
    device.InsertCoin(9); // not programmed
    EXPECT_EQ(Data(229)[1], 0);
    EXPECT_EQ(Data(229)[2], 1);
    Data(228, {0}); // master inhibit
    device.InsertCoin(3);
    EXPECT_EQ(Data(229)[2], 2);
}

TEST_F(StandardAcceptorTest, TeachModeCountsCoinsUntilComplete) {
    device.Config().teachCoins = 2;
    EXPECT_EQ(Data(201), (Bytes{0, 0}));
    Data(202, {0x83});
    EXPECT_TRUE(device.Teaching());
    device.InsertCoin(1);
    EXPECT_EQ(Data(201), (Bytes{1, 254}));
    device.InsertCoin(1);
    EXPECT_EQ(Data(201), (Bytes{2, 255}));
    EXPECT_FALSE(device.Teaching());
    EXPECT_EQ(Data(229)[0], 0); // teach samples are no credits
    Data(202, {1});
    Data(202, {0});
    EXPECT_EQ(Data(201), (Bytes{0, 252}));
}

TEST_F(StandardAcceptorTest, AcceptLimitGivesTheResidual) {
    Data(231, {0xFF, 0xFF});
    Data(135, {1, 0xF4, 0x01, 0x00});
    EXPECT_EQ(device.AcceptLimit(), 500u);
    device.InsertCoin(6);
    EXPECT_EQ(Data(135), (Bytes{1, 0x2C, 0x01, 0x00}));
}

TEST_F(StandardAcceptorTest, OutputLinesAndMotorsAreRecorded) {
    Data(238, {2});
    Data(239, {1});
    EXPECT_EQ(device.OutputLines(), 2);
    EXPECT_EQ(device.Motors(), 1);
    device.SetOptoStates(3);
    EXPECT_EQ(Data(236), (Bytes{3}));
}

TEST_F(StandardAcceptorTest, FaultsShapeTheNextReplies) {
    device.InjectFault(sim::StandardFault::Silent);
    EXPECT_TRUE(Ask(254).empty());
    device.InjectFault(sim::StandardFault::BadChecksum);
    EXPECT_EQ(Ask(254), (Bytes{0x01, 0x00, 0x02, 0x00, 0xFE}));
    device.InjectFault(sim::StandardFault::ExtraData);
    EXPECT_EQ(Ask(254), (Bytes{0x01, 0x01, 0x02, 0x00, 0x00, 0xFC}));
    device.InjectFault(sim::StandardFault::Nak);
    EXPECT_EQ(Ask(246), (Bytes{0x01, 0x00, 0x02, 0x05, 0xF8}));
    device.InjectFault(sim::StandardFault::Oversize);
    const Bytes big = Ask(254);
    EXPECT_EQ(big[1], 96);
    EXPECT_EQ(big.size(), 101u);
    device.InjectFault(sim::StandardFault::ShortReply);
    const Bytes cut = Ask(246); // "SIM": announces 6, carries 3
    EXPECT_EQ(cut[1], 6);
    EXPECT_EQ(cut.size(), 8u);
    EXPECT_EQ(Ask(254), (Bytes{0x01, 0x00, 0x02, 0x00, 0xFD})); // faults used up
}

TEST_F(StandardAcceptorTest, RandomCoinsArriveAtTheirRate) {
    device.Config().coinsPerSecond = 10;
    device.Config().rejectShare = 0;
    Data(231, {0xFF, 0xFF});
    Bytes out;
    for (uint64_t ms = 1000; ms <= 11000; ms += 10) device.OnTick(ms, out);
    // About 100 coins in ten seconds; the counter has wrapped at most once.
    const uint8_t counter = Data(229)[0];
    EXPECT_GT(counter, 50);
    EXPECT_LT(counter, 160);
    EXPECT_NE(Data(229)[1], 0);
}

TEST(StandardOptions, DeviceOptionsFromTheCommandLine) {
    const std::vector<std::string> args = {"--address", "5", "--product", "QX1", "--no-flags", "--coin", "7=EU1k0A:1000",
                                           "--coin-rate", "1.5", "--long-sorter", "--no-echo", "--other"};
    sim::StandardConfig c;
    std::string error;
    size_t i = 0;
    for (; i < args.size(); ++i) {
        if (sim::ParseStandardOption(args, i, c, error) != sim::OptionResult::Taken) break;
    }
    EXPECT_EQ(i, args.size() - 1); // stops at the option it does not know
    EXPECT_EQ(c.address, 5);
    EXPECT_EQ(c.productCode, "QX1");
    EXPECT_TRUE(c.unknownHeaders.test(sim::kOptionFlagsHeader));
    EXPECT_EQ(c.coins[6].id, "EU1k0A");
    EXPECT_EQ(c.coins[6].value, 1000u);
    EXPECT_DOUBLE_EQ(c.coinsPerSecond, 1.5);
    EXPECT_TRUE(c.longSorter);
    EXPECT_FALSE(c.echo);
}

TEST(StandardOptions, BadValuesAreRefused) {
    for (const auto& bad : std::vector<std::vector<std::string>>{
             {"--address", "0"}, {"--address", "256"}, {"--flags", "x"}, {"--coin", "17=EU200A"},
             {"--coin", "EU200A"}, {"--coin-rate", "-1"}, {"--serial", "-5"}, {"--seed"}}) {
        sim::StandardConfig c;
        std::string error;
        size_t i = 0;
        EXPECT_EQ(sim::ParseStandardOption(bad, i, c, error), sim::OptionResult::Bad) << bad[0];
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
