// Pollbench on a line that behaves like a real one (9600 bit/s, the echo,
// replies late, damaged or missing): one bad byte costs the exchange it hits
// and its retries, never the connection, a coin position, a credit or an
// event without a count.
#include "demo/report/poll_session.h"
#include "demo/trace/cct_wire_trace.h"
#include "sim_fixture.h"

namespace {

constexpr uint32_t kLineSpeed = 9600;
constexpr int kExchangeTries = 3; // the faulty exchange and its two retries

struct FaultCase {
    const char* name;
    sim::LineFault fault;
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

const FaultCase kFaults[] = {
    {"Late", sim::LineFault::Late},     {"Gap", sim::LineFault::Gap},
    {"Length", sim::LineFault::Length}, {"Flip", sim::LineFault::Flip},
    {"Short", sim::LineFault::Short},   {"Stray", sim::LineFault::Stray},
    {"SplitEcho", sim::LineFault::SplitEcho}, {"Silence", sim::LineFault::Silence},
};

class RealLine : public SimFixture {
protected:
    // A 9600 bit/s line with these faults, and the driver's own read limits.
    void StartLine(const std::vector<sim::LineFaultAt>& faults) {
        sim::ServerOptions options;
        options.line.bitsPerSecond = kLineSpeed;
        options.line.faults = faults;
        Start({}, options);
        core.driver.timeouts = DemoPortTimeouts();
        core.driver.trace = wire.Hook();
        core.hooks.eventsRead = [this](const PollCounts& counts) { session.OnEventsRead(counts); };
    }
    void TearDown() override {
        core.driver.trace = nullptr;
        core.hooks.eventsRead = nullptr;
    }

    int Identifications() { return static_cast<int>(Requests(kHdrManufacturerId).size()); }

    PollSession session{core};
    int failed = 0;
    CctWireTrace wire{{}, [this](const CctExchange& x) {
                          if (x.result != 0) ++failed;
                      }};
};

class RealLineTest : public RealLine, public ::testing::WithParamInterface<FaultCase> {
protected:
    // One fault on the nth request of `header`.
    void StartWithFault(uint8_t header, unsigned nth) { StartLine({{header, nth, GetParam().fault, 0}}); }
};

TEST_P(RealLineTest, AFaultOnAPollCostsNoCreditAndNotTheConnection) {
    StartWithFault(kHdrReadBufferedCredit, 2);
    ASSERT_TRUE(Connect());
    core.ConnectionTick(); // the baseline, the first poll
    Device([](sim::StandardAcceptor& d) {
        d.InsertCoin(6);
        d.InsertCoin(4);
    });
    core.ConnectionTick(); // the faulty poll
    core.ConnectionTick();

    EXPECT_EQ(core.prevState, kConnected);
    EXPECT_EQ(1, Identifications());
    EXPECT_LE(failed, kExchangeTries);
    EXPECT_EQ(1u, core.count[5]);
    EXPECT_EQ(1u, core.count[3]);
    EXPECT_EQ("2.50", core.creditText);
    EXPECT_EQ(0u, session.Sums().lost);
    EXPECT_EQ(2u, session.Sums().events);
    EXPECT_EQ(0u, session.Sums().unpriced);
}

TEST_P(RealLineTest, AFaultDuringTheSetUpLeavesNoCoinPositionBlank) {
    // The coin id of position 3, then the sorter paths of position 5.
    StartWithFault(kHdrRequestCoinId, 3);
    ASSERT_TRUE(Connect());
    EXPECT_EQ(1, Identifications());
    const sim::StandardConfig device;
    for (size_t i = 0; i < core.coinId.size(); ++i) {
        const std::string& id = device.coins[i].id;
        EXPECT_EQ(id.empty() ? "......" : id, core.coinId[i]) << "position " << i + 1;
    }
    EXPECT_EQ(20u, core.coinValue[2]);
    EXPECT_EQ("3", core.sortText[2]);
    EXPECT_LE(failed, kExchangeTries);

    core.ConnectionTick();
    Device([](sim::StandardAcceptor& d) {
        for (int i = 0; i < 3; ++i) d.InsertCoin(3);
    });
    core.ConnectionTick();
    EXPECT_EQ(3u, core.count[2]);
    EXPECT_EQ("0.60", core.creditText);
}

TEST_P(RealLineTest, AFaultOnTheSortersOrInhibitsLeavesThemAsTheDeviceHasThem) {
    StartLine({{kHdrRequestSorterPaths, 5, GetParam().fault, 0}, {kHdrModifyInhibits, 1, GetParam().fault, 0}});
    ASSERT_TRUE(Connect());
    EXPECT_EQ(1, Identifications());
    EXPECT_EQ("5", core.sortText[4]);
    uint16_t enabled = 0;
    Device([&enabled](sim::StandardAcceptor& d) { enabled = d.InhibitMask(); });
    EXPECT_EQ(0xFFFF, enabled);
    for (bool inhibited : core.inhibit) EXPECT_FALSE(inhibited);
}

INSTANTIATE_TEST_SUITE_P(EachFault, RealLineTest, ::testing::ValuesIn(kFaults),
                         [](const ::testing::TestParamInfo<FaultCase>& param) { return std::string(param.param.name); });

// A device that is really gone is given up on after the poll and its two
// retries, so within about a second at the driver's read limits.
TEST_F(RealLine, ADeviceThatIsGoneIsLostAfterThreeTries) {
    StartLine({});
    ASSERT_TRUE(Connect());
    core.ConnectionTick();
    Device([](sim::StandardAcceptor& d) { d.InjectFault(sim::StandardFault::Silent, 100); });
    const size_t polls = Requests(kHdrReadBufferedCredit).size();
    core.ConnectionTick();
    EXPECT_EQ(core.prevState, kDisconnected);
    EXPECT_EQ("no connection", core.status);
    EXPECT_EQ(polls + kExchangeTries, Requests(kHdrReadBufferedCredit).size());
    EXPECT_EQ(kExchangeTries, failed);
}

} // namespace
