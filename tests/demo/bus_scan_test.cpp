// The bus scan over one line that two virtual acceptors share.
#include "demo/driver/bus_scan.h"
#include "sim_fixture.h"

namespace {

class BusScan : public SimFixture {};

TEST_F(BusScan, FindsBothDevicesOfOneLineWithTheirIdentity) {
    sim::StandardConfig config;
    config.manufacturer = "ABC";
    config.productCode = "Coin 1";
    config.serialNumber = 5000;
    config.extraAddresses = {9};
    Start(config);
    // No device answers at most addresses: shorter limits keep the test short.
    core.driver_.timeouts.readTotalConstant = 20;
    core.driver_.deviceAddress = 2;
    const BusScanResult result = ScanBus(core.driver_);
    ASSERT_EQ(2u, result.devices.size());
    EXPECT_EQ("address 2: ABC - Coin 1, SN 5000, revision 1.00", BusDeviceLine(result.devices[0]));
    EXPECT_EQ("address 9: ABC - Coin 1, SN 5001, revision 1.00", BusDeviceLine(result.devices[1]));
    EXPECT_FALSE(result.stopped);
    EXPECT_GT(result.elapsedMs, 0u);
    EXPECT_EQ(2, core.driver_.deviceAddress);
    // Every address from 2 to 255 was asked once, the host's never.
    int polls = 0;
    Device([&](sim::StandardAcceptor& d) {
        for (const auto& r : d.Requests()) polls += r.header == kHdrSimplePoll ? 1 : 0;
    });
    EXPECT_EQ(1, polls); // the first device saw only its own
    size_t seen = 0;
    line->WithDevice(1, [&](sim::StandardAcceptor& d) { seen = d.Requests().size(); });
    EXPECT_EQ(5u, seen); // the second: its simple poll and the four identity requests
}

TEST_F(BusScan, StopsWhenAsked) {
    Start();
    core.driver_.timeouts.readTotalConstant = 20;
    int asked = 0;
    const BusScanResult result = ScanBus(core.driver_, [&] { return ++asked > 3; });
    EXPECT_TRUE(result.stopped);
    ASSERT_EQ(1u, result.devices.size());
    EXPECT_EQ(2, result.devices[0].address);
}

} // namespace
