// Identification against the virtual acceptor: the text, the controls it
// offers, the set-up requests, and the tables it reads.
#include "sim_fixture.h"

namespace {

sim::StandardConfig AbcXyz() {
    sim::StandardConfig c;
    c.manufacturer = "ABC";
    c.productCode = "XYZ";
    c.serialNumber = 123;
    c.revision = "52.01";
    c.optionFlags = 0x40;
    return c;
}

using IdentifyTest = SimFixture;

TEST_F(IdentifyTest, IdentificationTextAndOfferedControls) {
    Start(AbcXyz());
    ASSERT_TRUE(Connect());
    EXPECT_EQ(core.status, "ABC - XYZ\r\nSN: 123\r\nSoftw.: 52.01\r\nE");
    EXPECT_EQ(core.m_OptionFlags, 0x40);
    EXPECT_FALSE(core.visible.masterInhibit);
    EXPECT_TRUE(core.visible.escrow);
    EXPECT_EQ(core.escrowText, "0.00");
    EXPECT_FALSE(core.visible.motorReturn);
    EXPECT_FALSE(core.visible.acceptLimit);
    EXPECT_FALSE(core.visible.trashCycle);
    EXPECT_EQ(core.m_nDeviceType, 0);
    EXPECT_EQ(timerMs, 200u);
}

TEST_F(IdentifyTest, SetUpEnablesAllCoinsAndReleasesTheMasterInhibit) {
    Start(AbcXyz());
    ASSERT_TRUE(Connect());
    EXPECT_EQ(Requests(kHdrModifyInhibits), (std::vector<std::vector<uint8_t>>{{0xFF, 0xFF}}));
    EXPECT_EQ(Requests(kHdrModifyMasterInhibit), (std::vector<std::vector<uint8_t>>{{0x01}}));
    for (int i = 0; i < kCoinPositions; ++i) EXPECT_EQ(core.inhibit[static_cast<size_t>(i)], 0) << i;
    EXPECT_EQ(core.masterInhibit, 0);
    EXPECT_EQ(core.creditText, "0.00");
}

TEST_F(IdentifyTest, CoinTableIsRead) {
    sim::StandardConfig c = AbcXyz();
    c.coins[6] = {"EU1k0A", 1000};
    Start(c);
    Device([](sim::StandardAcceptor& d) { d.SetSorterOverride(0xFF & ~0x04); });
    ASSERT_TRUE(Connect());
    EXPECT_EQ(core.coinId[5], "EU200A");
    EXPECT_EQ(core.coinValue[5], 200u);
    EXPECT_EQ(core.coinId[6], "EU1k0A");
    EXPECT_EQ(core.coinValue[6], 1000u);
    EXPECT_EQ(core.coinId[15], "......");
    EXPECT_EQ(core.coinValue[15], 0u);
    EXPECT_EQ(core.sortText[2], "3");
    EXPECT_EQ(core.sorterPaths[2], (SorterPaths{3, 0, 0, 0}));
    EXPECT_EQ(core.defaultPath, 1);
    EXPECT_EQ(core.outletFull, (std::array<int, kShownOutlets>{0, 0, 1, 0, 0}));
    EXPECT_EQ(g_Flags & FLAG_LONG_SORTER, 0);
}

TEST_F(IdentifyTest, LongSorterPathsSetTheFlagAndFillTheSortTexts) {
    sim::StandardConfig c = AbcXyz();
    c.longSorter = true;
    Start(c);
    Device([](sim::StandardAcceptor& d) { d.SetSorterPaths(4, {2, 3, 0, 5}); });
    ASSERT_TRUE(Connect());
    EXPECT_NE(g_Flags & FLAG_LONG_SORTER, 0);
    EXPECT_EQ(core.sorterPaths[3], (SorterPaths{2, 3, 0, 5}));
    EXPECT_EQ(core.sortText[3], "235");
}

TEST_F(IdentifyTest, QxProductKeepsTheMasterInhibitAndOffersTheTrashCycle) {
    sim::StandardConfig c = AbcXyz();
    c.productCode = "QX5";
    Start(c);
    ASSERT_TRUE(Connect());
    EXPECT_EQ(core.m_nDeviceType, kDeviceTypeQx);
    EXPECT_TRUE(Requests(kHdrModifyMasterInhibit).empty());
    EXPECT_TRUE(core.visible.trashCycle);
}

TEST_F(IdentifyTest, RevisionOtherThanTheTwoKnownOnesOffersMasterInhibit) {
    sim::StandardConfig c = AbcXyz();
    c.revision = "52.010";
    Start(c);
    ASSERT_TRUE(Connect());
    EXPECT_TRUE(core.visible.masterInhibit);
    EXPECT_EQ(core.status, "ABC - XYZ\r\nSN: 123\r\nSoftw.: 52.010\r\nE");
}

TEST_F(IdentifyTest, DeviceWithoutOptionFlagsShowsNoLettersAndActsAsTeachOnly) {
    sim::StandardConfig c = AbcXyz();
    sim::DropOptionFlags(c);
    Start(c);
    ASSERT_TRUE(Connect());
    EXPECT_EQ(core.status, "ABC - XYZ\r\nSN: 123\r\nSoftw.: 52.01\r\n");
    EXPECT_EQ(core.m_OptionFlags, 0x80);
    EXPECT_FALSE(core.visible.escrow);
    EXPECT_EQ(core.escrowText, "");
}

TEST_F(IdentifyTest, FailedIdentityRequestLeavesTheDeviceUnconnected) {
    sim::StandardConfig c = AbcXyz();
    c.unknownHeaders.set(kHdrProductCode);
    Start(c);
    core.ConnectionTick();
    EXPECT_EQ(core.prevState, kDisconnected);
    EXPECT_EQ(core.status, "device found\r\ninitializing...");
    EXPECT_TRUE(Requests(kHdrModifyInhibits).empty());
}

TEST_F(IdentifyTest, PollAnsweredWithDataIsNotADevice) {
    Start(AbcXyz());
    Device([](sim::StandardAcceptor& d) { d.InjectFault(sim::StandardFault::ExtraData); });
    core.ConnectionTick();
    EXPECT_EQ(core.prevState, kDisconnected);
    EXPECT_EQ(core.status, "");
    EXPECT_TRUE(Requests(kHdrManufacturerId).empty());
}

} // namespace
