#include "ui/parameter_edits.h"

#include "coindata/records/device_coin_table.h"

#include <gtest/gtest.h>

namespace {

TEST(ParameterEdits, DividerEditClampsAndSetsTheRow) {
    ASSERT_TRUE(ApplyDividerEdit(3, "300", true));
    DeviceCoinEntry row = stDeviceCoins.GetDeviceCoins()[3];
    EXPECT_EQ(255, row.iErrorDivider);
    EXPECT_EQ(1, row.bInherit);
    ASSERT_TRUE(ApplyDividerEdit(3, "", false));
    row = stDeviceCoins.GetDeviceCoins()[3];
    EXPECT_EQ(1, row.iErrorDivider);
    EXPECT_EQ(0, row.bInherit);
    EXPECT_FALSE(ApplyDividerEdit(16, "17", true));
}

TEST(ParameterEdits, MaxErrorsEditClampsAndKeepsTheTravelTimes) {
    AcceptanceParameters before = stDeviceCoins.GetAcceptanceParams();
    before.wMinTravelTime = 41;
    before.wMaxTravelTime = 251;
    stDeviceCoins.SetAcceptanceParams(before);
    ApplyMaxErrorsEdit("25", "300", "5");
    const AcceptanceParameters after = stDeviceCoins.GetAcceptanceParams();
    EXPECT_EQ(20, after.Max_Error);
    EXPECT_EQ(44, after.NNet_Divider);
    EXPECT_EQ(5, after.Numb_Stand_Dev);
    EXPECT_EQ(41, after.wMinTravelTime);
    EXPECT_EQ(251, after.wMaxTravelTime);
}

// A number too long for 32 bits keeps its own low bits, as a shorter one does.
TEST(ParameterEdits, MaxErrorsEditTakesTheLowBitsOfAnyLongNumber) {
    ApplyMaxErrorsEdit("4294967299", "4294967596", "4294967301");
    const AcceptanceParameters after = stDeviceCoins.GetAcceptanceParams();
    EXPECT_EQ(3, after.Max_Error);
    EXPECT_EQ(44, after.NNet_Divider);
    EXPECT_EQ(5, after.Numb_Stand_Dev);
}

TEST(ParameterEdits, DividerEditOfAnOverlongNumberGivesOne) {
    ASSERT_TRUE(ApplyDividerEdit(2, "4294967296", true));
    EXPECT_EQ(1, stDeviceCoins.GetDeviceCoins()[2].iErrorDivider);
}

} // namespace
