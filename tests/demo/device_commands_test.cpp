// The operator's device commands against a connected virtual acceptor: what
// goes on the wire and what the read-backs leave in the fields.
#include "sim_fixture.h"

namespace {

using Bytes = std::vector<uint8_t>;

class DeviceCommandsTest : public SimFixture {
protected:
    void Connected(sim::StandardConfig c = {}) {
        Start(std::move(c));
        ASSERT_TRUE(Connect());
    }
};

TEST_F(DeviceCommandsTest, InhibitsAreWrittenAsEnableMasksAndReadBack) {
    Connected();
    core.inhibit.fill(0);
    core.inhibit[0] = 1;  // position 1
    core.inhibit[9] = 1;  // position 10
    core.WriteInhibits();
    EXPECT_EQ(Requests(kHdrModifyInhibits).back(), (Bytes{0xFE, 0xFD}));
    Device([](sim::StandardAcceptor& d) { EXPECT_EQ(d.InhibitMask(), 0xFDFE); });
    EXPECT_EQ(core.inhibit[0], 1);
    EXPECT_EQ(core.inhibit[1], 0);
    EXPECT_EQ(core.inhibit[9], 1);
}

TEST_F(DeviceCommandsTest, ASortTextOfOnePathSendsThatPath) {
    Connected();
    core.sortText[4] = "3";
    core.WriteSorterPaths(5);
    EXPECT_EQ(Requests(kHdrModifySorterPaths).back(), (Bytes{5, 3}));
    EXPECT_EQ(core.sorterPaths[4][0], 3);
    EXPECT_EQ(core.sortText[4], "3");
}

// The Options dialog takes the focus from a Sort box after polling has
// stopped: nothing may reach the device, and the port stays closed until
// polling starts again.
TEST_F(DeviceCommandsTest, StoppedPollingSendsNoCommandAndKeepsThePortClosed) {
    Connected();
    core.StopPolling();
    ASSERT_FALSE(core.driver.IsOpen());
    size_t before = 0;
    Device([&](sim::StandardAcceptor& d) { before = d.Requests().size(); });
    core.sortText[4] = "3";
    core.WriteSorterPaths(5);
    core.WriteInhibits();
    core.WriteDefaultPath();
    core.WriteSorterOverride();
    core.WriteMasterInhibit();
    core.EscrowAccept();
    core.SetAcceptLimit();
    core.ConnectionTick();
    EXPECT_FALSE(core.driver.IsOpen());
    Device([&](sim::StandardAcceptor& d) { EXPECT_EQ(d.Requests().size(), before); });

    core.StartPolling();
    ASSERT_TRUE(Connect());
    core.sortText[4] = "3";
    core.WriteSorterPaths(5);
    EXPECT_EQ(Requests(kHdrModifySorterPaths).back(), (std::vector<uint8_t>{5, 3}));
}

TEST_F(DeviceCommandsTest, LongSorterPathsFillMissingOnesWithTheDefault) {
    sim::StandardConfig c;
    c.longSorter = true;
    Connected(c);
    ASSERT_EQ(g_Flags & FLAG_LONG_SORTER, FLAG_LONG_SORTER);
    const uint8_t d = core.defaultPath;
    core.sortText[4] = "3";
    core.WriteSorterPaths(5);
    EXPECT_EQ(Requests(kHdrModifySorterPaths).back(), (Bytes{5, 3, d, d, d}));
}

TEST_F(DeviceCommandsTest, ASortTextNineBecomesTheDefaultPath) {
    Connected();
    core.defaultPath = 2;
    core.sortText[0] = "9";
    core.WriteSorterPaths(1);
    EXPECT_EQ(Requests(kHdrModifySorterPaths).back(), (Bytes{1, 2}));
}

TEST_F(DeviceCommandsTest, ADefaultPathIsWrittenWithEveryCoinsFurtherPaths) {
    Connected();
    core.sorterPaths[2][0] = 4;
    core.defaultPath = 6;
    core.WriteDefaultPath();
    EXPECT_EQ(Requests(kHdrModifyDefaultPath).back(), (Bytes{6}));
    const auto paths = Requests(kHdrModifySorterPaths);
    ASSERT_GE(paths.size(), 16u);
    EXPECT_EQ(paths[paths.size() - 14], (Bytes{3, 4, 6, 6, 6}));
    EXPECT_EQ(core.defaultPath, 6);
}

TEST_F(DeviceCommandsTest, ADefaultPathOutsideOneToEightIsNotSentAndTheDevicesShows) {
    Connected();
    const uint8_t devicePath = core.defaultPath;
    core.defaultPath = 9;
    core.WriteDefaultPath();
    EXPECT_TRUE(Requests(kHdrModifyDefaultPath).empty());
    EXPECT_EQ(core.defaultPath, devicePath);
}

TEST_F(DeviceCommandsTest, FullOutletsClearTheirOverrideBits) {
    Connected();
    core.outletFull = {0, 1, 0, 0, 1};
    core.WriteSorterOverride();
    EXPECT_EQ(Requests(kHdrModifySorterOverride).back(), (Bytes{0xED}));
    EXPECT_EQ(core.outletFull[1], 1);
    EXPECT_EQ(core.outletFull[0], 0);
}

TEST_F(DeviceCommandsTest, MasterInhibitTickedStopsTheDevice) {
    Connected();
    core.masterInhibit = 1;
    core.WriteMasterInhibit();
    EXPECT_EQ(Requests(kHdrModifyMasterInhibit).back(), (Bytes{0}));
    EXPECT_EQ(core.masterInhibit, 1);
    core.masterInhibit = 0;
    core.WriteMasterInhibit();
    EXPECT_EQ(Requests(kHdrModifyMasterInhibit).back(), (Bytes{1}));
    EXPECT_EQ(core.masterInhibit, 0);
}

TEST_F(DeviceCommandsTest, AcceptEmptiesEscrowButKeepsTheCredit) {
    Connected();
    core.escrowSum = 200;
    core.creditSum = 200;
    core.creditText = "2.00";
    core.EscrowAccept();
    EXPECT_EQ(Requests(kHdrTestOutputLines).back(), (Bytes{1}));
    EXPECT_EQ(core.escrowText, "0.00");
    EXPECT_EQ(core.escrowSum, 0u);
    EXPECT_EQ(core.creditText, "2.00");
    core.EscrowReturn();
    EXPECT_EQ(Requests(kHdrTestOutputLines).back(), (Bytes{2}));
    core.MotorReturn();
    EXPECT_EQ(Requests(kHdrTestOutputLines).back(), (Bytes{4}));
    core.TrashCycle();
    EXPECT_EQ(Requests(kHdrOperateMotors).back(), (Bytes{1}));
}

TEST_F(DeviceCommandsTest, AnAcceptLimitIsSentLowByteFirstWithTheInhibits) {
    Connected();
    core.acceptLimit = 0x030201;
    core.SetAcceptLimit();
    EXPECT_EQ(Requests(kHdrAcceptLimit).front(), (Bytes{1, 1, 2, 3}));
    Device([](sim::StandardAcceptor& d) { EXPECT_EQ(d.AcceptLimit(), 0x030201u); });
    EXPECT_EQ(core.residual, 0x030201u);
}

} // namespace
