// The bus scan over one line that virtual acceptors share: the broadcast
// address poll with the clash poll of each address, the thorough scan of
// every address, and the fall-back to it when nothing answers the broadcast.
#include "demo/driver/broadcast_poll.h"
#include "demo/driver/bus_scan.h"
#include "sim_fixture.h"

namespace {

class BusScan : public SimFixture {};

TEST_F(BusScan, ThoroughFindsBothDevicesOfOneLineWithTheirIdentity) {
    sim::StandardConfig config;
    config.manufacturer = "ABC";
    config.productCode = "Coin 1";
    config.serialNumber = 5000;
    config.extraAddresses = {9};
    Start(config);
    // No device answers at most addresses: shorter limits keep the test short.
    core.driver.timeouts.readTotalConstant = 20;
    core.driver.deviceAddress = 2;
    const BusScanResult result = ScanBus(core.driver, BusScanMode::Thorough);
    ASSERT_EQ(2u, result.devices.size());
    EXPECT_EQ("address 2: ABC - Coin 1, SN 5000, revision 1.00", BusDeviceLine(result.devices[0]));
    EXPECT_EQ("address 9: ABC - Coin 1, SN 5001, revision 1.00", BusDeviceLine(result.devices[1]));
    EXPECT_FALSE(result.stopped);
    EXPECT_TRUE(result.byAddress);
    EXPECT_GT(result.elapsedMs, 0u);
    EXPECT_EQ(2, core.driver.deviceAddress);
    // Every address from 2 to 255 was asked once, the host's never.
    int polls = 0;
    Device([&](sim::StandardAcceptor& d) {
        for (const auto& r : d.Requests()) polls += r.header == kHdrSimplePoll ? 1 : 0;
    });
    EXPECT_EQ(1, polls); // the first device saw only its own
    EXPECT_TRUE(Requests(253).empty()); // and no broadcast
    size_t seen = 0;
    line->WithDevice(1, [&](sim::StandardAcceptor& d) { seen = d.Requests().size(); });
    EXPECT_EQ(5u, seen); // the second: its simple poll and the four identity requests
}

TEST_F(BusScan, StopsWhenAsked) {
    Start();
    core.driver.timeouts.readTotalConstant = 20;
    int asked = 0;
    const BusScanResult result = ScanBus(core.driver, BusScanMode::Thorough, [&] { return ++asked > 3; });
    EXPECT_TRUE(result.stopped);
    ASSERT_EQ(1u, result.devices.size());
    EXPECT_EQ(2, result.devices[0].address);
}

int Count(const std::vector<std::vector<uint8_t>>& requests) { return static_cast<int>(requests.size()); }

TEST_F(BusScan, TheBroadcastFindsThreeDevicesOnAPacedLineWithoutPollingEveryAddress) {
    sim::StandardConfig config;
    config.extraAddresses = {40, 3};
    sim::ServerOptions options;
    options.line.bitsPerSecond = 9600;
    Start(config, options);
    const BusScanResult result = ScanBus(core.driver);
    ASSERT_EQ(3u, result.devices.size());
    EXPECT_EQ("address 2: SIM - Standard, SN 123456, revision 1.00", BusDeviceLine(result.devices[0]));
    EXPECT_EQ("address 3: SIM - Standard, SN 123458, revision 1.00", BusDeviceLine(result.devices[1]));
    EXPECT_EQ("address 40: SIM - Standard, SN 123457, revision 1.00", BusDeviceLine(result.devices[2]));
    EXPECT_FALSE(result.byAddress);
    EXPECT_FALSE(result.stopped);
    EXPECT_EQ(2, core.driver.deviceAddress);
    // One broadcast, one clash poll each, no simple poll at all.
    EXPECT_EQ(1, Count(Requests(253)));
    EXPECT_EQ(1, Count(Requests(252)));
    EXPECT_EQ(0, Count(Requests(kHdrSimplePoll)));
    size_t seen = 0;
    line->WithDevice(2, [&](sim::StandardAcceptor& d) { seen = d.Requests().size(); });
    EXPECT_EQ(6u, seen); // the broadcast, its clash poll and the four identity requests
    // The three clash polls went out in one write: the broadcast, one clash
    // window and four identity requests a device.
    EXPECT_EQ(1u + 1u + 3u * 4u, line->Counters().requests);
    // The broadcast's window and three clash windows, not 254 addresses.
    EXPECT_LT(result.elapsedMs, kBroadcastWindowMs + 4 * kClashWindowMs);
}

TEST_F(BusScan, TwoDevicesOnOneAddressAreAClash) {
    sim::StandardConfig config;
    config.extraAddresses = {7, 7};
    Start(config);
    const BusScanResult result = ScanBus(core.driver);
    ASSERT_EQ(2u, result.devices.size());
    EXPECT_EQ("address 2: SIM - Standard, SN 123456, revision 1.00", BusDeviceLine(result.devices[0]));
    EXPECT_TRUE(result.devices[1].clash);
    EXPECT_EQ("address 7: two or more devices answer (address clash), identity not read",
              BusDeviceLine(result.devices[1]));
    // Their replies would come over each other: neither is asked who it is.
    size_t seen = 0;
    line->WithDevice(1, [&](sim::StandardAcceptor& d) { seen = d.Requests().size(); });
    EXPECT_EQ(3u, seen); // the broadcast, the window's clash poll and its own
}

TEST_F(BusScan, ALineThatDoesNotAnswerTheBroadcastIsScannedAddressByAddress) {
    sim::StandardConfig config;
    config.address = 3;
    config.unknownHeaders.set(253);
    Start(config);
    core.driver.deviceAddress = 3;
    int asked = 0;
    // Asked before the broadcast, then before addresses 2, 3 and 4.
    const BusScanResult result = ScanBus(core.driver, BusScanMode::Broadcast, [&] { return ++asked > 4; });
    EXPECT_TRUE(result.byAddress);
    EXPECT_TRUE(result.stopped);
    ASSERT_EQ(1u, result.devices.size());
    EXPECT_EQ("address 3: SIM - Standard, SN 123456, revision 1.00", BusDeviceLine(result.devices[0]));
    EXPECT_EQ(1, Count(Requests(253)));
    EXPECT_EQ(1, Count(Requests(kHdrSimplePoll)));
}

TEST_F(BusScan, AnAddressWhoseClashPollBringsNothingMustAnswerASimplePoll) {
    // A byte in the broadcast's window may be noise: the simple poll decides.
    sim::StandardConfig config;
    config.unknownHeaders.set(252);
    Start(config);
    const BusScanResult result = ScanBus(core.driver);
    ASSERT_EQ(1u, result.devices.size());
    EXPECT_EQ("address 2: SIM - Standard, SN 123456, revision 1.00", BusDeviceLine(result.devices[0]));
    EXPECT_EQ(1, Count(Requests(kHdrSimplePoll)));
}

// Three addresses on a 9600 bit/s line, the clash polls of all three in
// one window; `faults` spoil what the line carries.
class ClashWindow : public BusScan {
protected:
    void StartThree(const std::vector<uint8_t>& extraAddresses, std::vector<sim::LineFaultAt> faults = {}) {
        sim::StandardConfig config;
        config.extraAddresses = extraAddresses;
        sim::ServerOptions options;
        options.line.bitsPerSecond = 9600;
        options.line.faults = std::move(faults);
        Start(config, options);
    }

    // The scan found 2, 3 and 40, each once, each with its identity.
    void ExpectTheThreeFound(const BusScanResult& result) {
        ASSERT_EQ(3u, result.devices.size());
        EXPECT_EQ("address 2: SIM - Standard, SN 123456, revision 1.00", BusDeviceLine(result.devices[0]));
        EXPECT_EQ("address 3: SIM - Standard, SN 123457, revision 1.00", BusDeviceLine(result.devices[1]));
        EXPECT_EQ("address 40: SIM - Standard, SN 123458, revision 1.00", BusDeviceLine(result.devices[2]));
        EXPECT_FALSE(result.byAddress);
    }

    // The broadcast, the window, then every address alone: the window told nothing.
    void ExpectEachCheckedAlone() {
        EXPECT_EQ(1u + 1u + 3u + 3u * 4u, line->Counters().requests);
        for (size_t i = 0; i < 3; ++i) {
            int clashPolls = 0;
            line->WithDevice(i, [&](sim::StandardAcceptor& d) {
                for (const auto& r : d.Requests()) clashPolls += r.header == kHdrAddressClash ? 1 : 0;
            });
            EXPECT_EQ(2, clashPolls) << "device " << i;
        }
    }
};

TEST_F(ClashWindow, AClashOnOneAddressAmongThreeIsConfirmedAlone) {
    StartThree({7, 7, 40});
    const BusScanResult result = ScanBus(core.driver);
    ASSERT_EQ(3u, result.devices.size());
    EXPECT_EQ("address 2: SIM - Standard, SN 123456, revision 1.00", BusDeviceLine(result.devices[0]));
    EXPECT_EQ("address 7: two or more devices answer (address clash), identity not read",
              BusDeviceLine(result.devices[1]));
    EXPECT_EQ("address 40: SIM - Standard, SN 123459, revision 1.00", BusDeviceLine(result.devices[2]));
    // The broadcast, the window, 7 alone, and the identity of 2 and 40 only.
    EXPECT_EQ(1u + 1u + 1u + 2u * 4u, line->Counters().requests);
    for (const size_t i : {1u, 2u}) {
        std::vector<uint8_t> headers;
        line->WithDevice(i, [&](sim::StandardAcceptor& d) {
            for (const auto& r : d.Requests()) headers.push_back(r.header);
        });
        EXPECT_EQ((std::vector<uint8_t>{kHdrAddressPoll, kHdrAddressClash, kHdrAddressClash}), headers) << i;
    }
}

TEST_F(ClashWindow, ALostAnswerHasEveryAddressCheckedAlone) {
    // The first answer in the window never reaches the host.
    StartThree({3, 40}, {{kHdrAddressClash, 1, sim::LineFault::Silence}});
    ExpectTheThreeFound(ScanBus(core.driver));
    EXPECT_EQ(1u, line->Counters().faultsFired);
    ExpectEachCheckedAlone();
}

TEST_F(ClashWindow, BytesThatAreNoAddressFoundHaveEveryAddressCheckedAlone) {
    // Three bytes of noise ahead of the first answer, as two answers that met would leave.
    StartThree({3, 40}, {{kHdrAddressClash, 1, sim::LineFault::Stray}});
    ExpectTheThreeFound(ScanBus(core.driver));
    EXPECT_EQ(1u, line->Counters().faultsFired);
    ExpectEachCheckedAlone();
}

TEST_F(ClashWindow, AnAnswerInsideTheEchoIsNoFailedScan) {
    // Address 2 answers in slot 0, while the polls to 3 and 40 still go out.
    StartThree({3, 40});
    Device([](sim::StandardAcceptor& d) { d.ScriptClashSlots({0}); });
    std::vector<int> failures;
    core.driver.trace = [&](const char* label, const uint8_t* bytes, size_t count) {
        if (std::string(label) == trace_label::kFailed && count == 1) failures.push_back(bytes[0]);
    };
    ExpectTheThreeFound(ScanBus(core.driver));
    EXPECT_EQ(std::vector<int>{kExchangeEchoDiffers}, failures); // the window's echo, nothing after it
    ExpectEachCheckedAlone();
}

} // namespace
