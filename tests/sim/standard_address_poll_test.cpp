// The broadcast address poll (253) and the address clash poll (252) of the
// virtual standard acceptors on the line model at 9600 bit/s: each device's
// address byte at its own time, the receiver off after the broadcast, two
// bytes from two devices on one address, and the line's one echo.
#include "sim/pty/line_model.h"
#include "sim/standard/standard_bus.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;
using sim::LineTime;

LineTime Ms(int64_t ms) { return std::chrono::milliseconds(ms); }

const Bytes kBroadcastPoll = {0, 0, 1, 253, 2};
const Bytes kAck = {1, 0, 2, 0, 253};

Bytes Poll(uint8_t address, uint8_t header) {
    return {address, 0, 1, header, static_cast<uint8_t>(0x100 - ((address + 1 + header) & 0xFF))};
}

struct Heard {
    LineTime at;
    uint8_t byte;
};

class AddressPollTest : public ::testing::Test {
protected:
    void Open(sim::StandardConfig config) {
        bus = std::make_unique<sim::StandardBus>(std::move(config));
        sim::LineOptions options;
        options.bitsPerSecond = 9600;
        line = std::make_unique<sim::LineModel>(*bus, options, 50);
    }

    // Writes `bytes` and runs the line for `span`; returns what the host got
    // after the echo, each byte with its time since the request was through.
    std::vector<Heard> Ask(const Bytes& bytes, LineTime span) {
        line->FromHost(bytes.data(), bytes.size(), clock);
        const LineTime through = clock + Ms(6); // five bytes at 9600 bit/s, and a little
        const LineTime until = clock + span;
        Bytes got;
        std::vector<Heard> heard;
        for (LineTime t = clock; t <= until; t = line->NextDue()) {
            line->Advance(t);
            const size_t before = got.size();
            line->TakeForHost(t, got);
            for (size_t i = before; i < got.size(); ++i) {
                if (i >= bytes.size()) heard.push_back({t - through, got[i]});
            }
        }
        EXPECT_GE(got.size(), bytes.size());
        EXPECT_EQ(Bytes(got.begin(), got.begin() + static_cast<std::ptrdiff_t>(std::min(got.size(), bytes.size()))),
                  bytes); // the one echo
        clock = until;
        return heard;
    }

    static Bytes Values(const std::vector<Heard>& heard) {
        Bytes values;
        for (const auto& h : heard) values.push_back(h.byte);
        return values;
    }

    LineTime clock = Ms(1000);
    std::unique_ptr<sim::StandardBus> bus;
    std::unique_ptr<sim::LineModel> line;
};

TEST_F(AddressPollTest, EachDeviceAnswersTheBroadcastWithItsAddressAfterFourMsAnAddress) {
    sim::StandardConfig config;
    config.extraAddresses = {40, 3};
    Open(config);
    const std::vector<Heard> heard = Ask(kBroadcastPoll, Ms(1100));
    ASSERT_EQ((Bytes{2, 3, 40}), Values(heard));
    // 4 ms x address after the poll, give or take the device's 10 ms tick.
    const int64_t expected[] = {8, 12, 160};
    for (size_t i = 0; i < heard.size(); ++i) {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(heard[i].at).count();
        EXPECT_GE(ms, expected[i] - 2) << i;
        EXPECT_LE(ms, expected[i] + 12) << i;
    }
    EXPECT_EQ(0u, line->Counters().flippedToHost);
}

TEST_F(AddressPollTest, TheReceiverIsOffForOnePointTwoSecondsAfterTheBroadcast) {
    Open({});
    Ask(kBroadcastPoll, Ms(600));
    EXPECT_TRUE(Ask(Poll(2, 254), Ms(550)).empty()); // 0.6 s after the poll: not heard
    EXPECT_TRUE(Ask(Poll(2, 254), Ms(100)).empty()); // 1.15 s after it: not yet
    EXPECT_EQ(kAck, Values(Ask(Poll(2, 254), Ms(100))));
    // Only the broadcast and the last simple poll were taken.
    ASSERT_EQ(2u, bus->Device(0).Requests().size());
    EXPECT_EQ(253, bus->Device(0).Requests()[0].header);
}

TEST_F(AddressPollTest, TwoDevicesOnOneAddressGiveTwoBytesToTheClashPoll) {
    sim::StandardConfig config;
    config.address = 3;
    config.extraAddresses = {3, 5};
    Open(config);
    std::vector<Heard> heard = Ask(Poll(3, 252), Ms(1100));
    EXPECT_EQ((Bytes{3, 3}), Values(heard));
    for (const auto& h : heard) EXPECT_LE(h.at, Ms(1030)); // 255 x 4 ms and the tick
    // Each draws its own delays: over a few polls the bytes are apart.
    bool apart = false;
    for (int i = 0; i < 4; ++i) {
        heard = Ask(Poll(3, 252), Ms(1100));
        ASSERT_EQ(2u, heard.size());
        apart = apart || heard[1].at - heard[0].at > Ms(20);
    }
    EXPECT_TRUE(apart);
    EXPECT_EQ((Bytes{5}), Values(Ask(Poll(5, 252), Ms(1100))));
    // The broadcast still brings one byte per address the bus has.
    EXPECT_EQ((Bytes{3, 3, 5}), Values(Ask(kBroadcastPoll, Ms(1300))));
}

TEST_F(AddressPollTest, AnAnswerWhileTheHostStillWritesComesBetweenTheEchoBytes) {
    sim::StandardConfig config;
    config.extraAddresses = {3, 40};
    Open(config);
    bus->Device(0).ScriptClashSlots({0});
    bus->Device(2).ScriptClashSlots({255});
    Bytes polls = Poll(2, 252);
    for (const uint8_t a : {3, 40}) {
        const Bytes poll = Poll(a, 252);
        polls.insert(polls.end(), poll.begin(), poll.end());
    }
    line->FromHost(polls.data(), polls.size(), clock);
    Bytes got;
    for (LineTime t = clock; t <= clock + Ms(1100); t = line->NextDue()) {
        line->Advance(t);
        line->TakeForHost(t, got);
    }
    // Address 2 answers in slot 0, as soon as its poll is through: its byte
    // follows that poll's echo, and the echo of the other two comes after it.
    ASSERT_EQ(polls.size() + 3, got.size());
    Bytes expected(polls.begin(), polls.begin() + 5);
    expected.push_back(2);
    expected.insert(expected.end(), polls.begin() + 5, polls.end());
    EXPECT_EQ(expected, Bytes(got.begin(), got.begin() + static_cast<std::ptrdiff_t>(expected.size())));
    EXPECT_EQ(40, got.back()); // slot 255: the last
    EXPECT_EQ(1u, line->Counters().requests);
    for (size_t i = 0; i < bus->Size(); ++i) EXPECT_EQ(252, bus->Device(i).Requests().back().header) << i;
}

TEST_F(AddressPollTest, ADeviceThatDoesNotKnowThePollsStaysSilent) {
    sim::StandardConfig config;
    config.unknownHeaders.set(252);
    config.unknownHeaders.set(253);
    Open(config);
    EXPECT_TRUE(Ask(kBroadcastPoll, Ms(1100)).empty());
    EXPECT_TRUE(Ask(Poll(2, 252), Ms(1100)).empty());
    EXPECT_EQ(kAck, Values(Ask(Poll(2, 254), Ms(100)))); // and is not deaf
}

} // namespace
