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
    EXPECT_EQ(core.m_Status, "ABC - XYZ\r\nSN: 123\r\nSoftw.: 52.01\r\nE");
    EXPECT_EQ(core.m_OptionFlags, 0x40);
    EXPECT_FALSE(core.m_Visible.masterInhibit);
    EXPECT_TRUE(core.m_Visible.escrow);
    EXPECT_EQ(core.m_EscrowText, "0.00");
    EXPECT_FALSE(core.m_Visible.motorReturn);
    EXPECT_FALSE(core.m_Visible.acceptLimit);
    EXPECT_FALSE(core.m_Visible.trashCycle);
    EXPECT_EQ(core.m_nDeviceType, 0);
    EXPECT_EQ(timerMs, 200u);
}

TEST_F(IdentifyTest, SetUpEnablesAllCoinsAndReleasesTheMasterInhibit) {
    Start(AbcXyz());
    ASSERT_TRUE(Connect());
    EXPECT_EQ(Requests(kHdrModifyInhibits), (std::vector<std::vector<uint8_t>>{{0xFF, 0xFF}}));
    EXPECT_EQ(Requests(kHdrModifyMasterInhibit), (std::vector<std::vector<uint8_t>>{{0x01}}));
    for (int i = 0; i < kCoinPositions; ++i) EXPECT_EQ(core.m_Inhibit[static_cast<size_t>(i)], 0) << i;
    EXPECT_EQ(core.m_MasterInhibit, 0);
    EXPECT_EQ(core.m_CreditText, "0.00");
}

TEST_F(IdentifyTest, CoinTableIsRead) {
    sim::StandardConfig c = AbcXyz();
    c.coins[6] = {"EU1k0A", 1000};
    Start(c);
    Device([](sim::StandardAcceptor& d) { d.SetSorterOverride(0xFF & ~0x04); });
    ASSERT_TRUE(Connect());
    EXPECT_EQ(core.m_CoinId[5], "EU200A");
    EXPECT_EQ(core.m_CoinValue[5], 200u);
    EXPECT_EQ(core.m_CoinId[6], "EU1k0A");
    EXPECT_EQ(core.m_CoinValue[6], 1000u);
    EXPECT_EQ(core.m_CoinId[15], "......");
    EXPECT_EQ(core.m_CoinValue[15], 0u);
    EXPECT_EQ(core.m_SortText[2], "3");
    EXPECT_EQ(core.m_SorterPaths[2], (SorterPaths{3, 0, 0, 0}));
    EXPECT_EQ(core.m_DefaultPath, 1);
    EXPECT_EQ(core.m_OutletFull, (std::array<int, kShownOutlets>{0, 0, 1, 0, 0}));
    EXPECT_EQ(g_Flags & FLAG_LONG_SORTER, 0);
}

TEST_F(IdentifyTest, LongSorterPathsSetTheFlagAndFillTheSortTexts) {
    sim::StandardConfig c = AbcXyz();
    c.longSorter = true;
    Start(c);
    Device([](sim::StandardAcceptor& d) { d.SetSorterPaths(4, {2, 3, 0, 5}); });
    ASSERT_TRUE(Connect());
    EXPECT_NE(g_Flags & FLAG_LONG_SORTER, 0);
    EXPECT_EQ(core.m_SorterPaths[3], (SorterPaths{2, 3, 0, 5}));
    EXPECT_EQ(core.m_SortText[3], "235");
}

TEST_F(IdentifyTest, QxProductKeepsTheMasterInhibitAndOffersTheTrashCycle) {
    sim::StandardConfig c = AbcXyz();
    c.productCode = "QX5";
    Start(c);
    ASSERT_TRUE(Connect());
    EXPECT_EQ(core.m_nDeviceType, kDeviceTypeQx);
    EXPECT_TRUE(Requests(kHdrModifyMasterInhibit).empty());
    EXPECT_TRUE(core.m_Visible.trashCycle);
}

TEST_F(IdentifyTest, RevisionOtherThanTheTwoKnownOnesOffersMasterInhibit) {
    sim::StandardConfig c = AbcXyz();
    c.revision = "52.010";
    Start(c);
    ASSERT_TRUE(Connect());
    EXPECT_TRUE(core.m_Visible.masterInhibit);
    EXPECT_EQ(core.m_Status, "ABC - XYZ\r\nSN: 123\r\nSoftw.: 52.010\r\nE");
}

TEST_F(IdentifyTest, DeviceWithoutOptionFlagsShowsNoLettersAndActsAsTeachOnly) {
    sim::StandardConfig c = AbcXyz();
    sim::DropOptionFlags(c);
    Start(c);
    ASSERT_TRUE(Connect());
    EXPECT_EQ(core.m_Status, "ABC - XYZ\r\nSN: 123\r\nSoftw.: 52.01\r\n");
    EXPECT_EQ(core.m_OptionFlags, 0x80);
    EXPECT_FALSE(core.m_Visible.escrow);
    EXPECT_EQ(core.m_EscrowText, "");
}

TEST_F(IdentifyTest, FailedIdentityRequestLeavesTheDeviceUnconnected) {
    sim::StandardConfig c = AbcXyz();
    c.unknownHeaders.set(kHdrProductCode);
    Start(c);
    core.ConnectionTick();
    EXPECT_EQ(core.m_PrevState, kDisconnected);
    EXPECT_EQ(core.m_Status, "device found\r\ninitializing...");
    EXPECT_TRUE(Requests(kHdrModifyInhibits).empty());
}

TEST_F(IdentifyTest, PollAnsweredWithDataIsNotADevice) {
    Start(AbcXyz());
    Device([](sim::StandardAcceptor& d) { d.InjectFault(sim::StandardFault::ExtraData); });
    core.ConnectionTick();
    EXPECT_EQ(core.m_PrevState, kDisconnected);
    EXPECT_EQ(core.m_Status, "");
    EXPECT_TRUE(Requests(kHdrManufacturerId).empty());
}

} // namespace
