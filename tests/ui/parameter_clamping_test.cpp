#include "ui/parameter_clamping.h"

#include <gtest/gtest.h>

namespace {

TEST(EditField, ReadsAnUnsignedDecimalNumber) {
    EXPECT_EQ(17u, ReadUnsignedField("17"));
    EXPECT_EQ(17u, ReadUnsignedField("  17"));
    EXPECT_EQ(0u, ReadUnsignedField(""));
    EXPECT_EQ(0u, ReadUnsignedField("abc"));
    EXPECT_EQ(0u, ReadUnsignedField("-5"));
    EXPECT_EQ(4294967295u, ReadUnsignedField("4294967295"));
    // Beyond 32 bits a number is as large as a field can read, never a small one.
    EXPECT_EQ(4294967295u, ReadUnsignedField("4294967296"));
    EXPECT_EQ(4294967295u, ReadUnsignedField("123456789012345678901234567890"));
    EXPECT_EQ(0u, ReadUnsignedFieldLowBits("4294967296"));
    EXPECT_EQ(5u, ReadUnsignedFieldLowBits("4294967301"));
    EXPECT_EQ(17u, ReadUnsignedFieldLowBits(" 17x"));
}

TEST(SettingsDialog, AnAddressOf256OrMoreIsIgnoredHoweverLong) {
    EXPECT_EQ(std::optional<uint8_t>(255), AddressFromField("255"));
    EXPECT_EQ(std::optional<uint8_t>(0), AddressFromField("abc"));
    EXPECT_EQ(std::optional<uint8_t>(0), AddressFromField(""));
    for (const char* large : {"256", "4294967295", "4294967296", "4294967297", "18446744073709551616",
                              "99999999999999999999999999999999"}) {
        EXPECT_FALSE(AddressFromField(large).has_value()) << large;
    }
}

TEST(DividerDialog, KeepsTheDividerWithin1To255) {
    EXPECT_EQ(1, ClampErrorDivider(ReadUnsignedField("0")));
    EXPECT_EQ(1, ClampErrorDivider(ReadUnsignedField("")));
    EXPECT_EQ(255, ClampErrorDivider(ReadUnsignedField("300")));
    EXPECT_EQ(17, ClampErrorDivider(ReadUnsignedField("17")));
    EXPECT_EQ(1, ClampErrorDivider(2147483648u)); // 2^31 counts as below 1
    EXPECT_EQ(1, ClampErrorDivider(ReadUnsignedField("4294967297")));
    EXPECT_EQ(255, ClampErrorDivider(2147483647u));
}

TEST(MaxErrorsDialog, TakesLowBitsThenClamps) {
    EXPECT_EQ(1, ClampMaxError(0));
    EXPECT_EQ(20, ClampMaxError(25));
    EXPECT_EQ(20, ClampMaxError(999));
    EXPECT_EQ(1, ClampMaxError(65536)); // low 16 bits are 0
    EXPECT_EQ(1, ClampNNetDivider(256));
    EXPECT_EQ(44, ClampNNetDivider(300));
    EXPECT_EQ(255, ClampNNetDivider(255));
    EXPECT_EQ(1, ClampNumbStandDev(256));
    EXPECT_EQ(1, ClampNumbStandDev(257));
    EXPECT_EQ(10, ClampNumbStandDev(266));
    EXPECT_EQ(5, ClampNumbStandDev(5));
}

} // namespace
