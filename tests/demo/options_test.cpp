// The options kept in the settings store and the Options dialog's rules.
#include "demo/core/options.h"
#include "demo/core/settings.h"
#include "demo/texts/number_field.h"

#include <gtest/gtest.h>

namespace {

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Values unlike every default, so a load that keeps them is seen.
        g_ComPort = 9;
        g_PollInterval = 777;
        g_DeviceAddress = 99;
        g_Flags = 0x7E;
    }
    void Store(const char* name, uint32_t value) { store.values[{kOptionsSection, name}] = value; }
    uint32_t Stored(const char* name) { return store.values.at({kOptionsSection, name}); }

    platform::MemorySettingsStore store;
};

TEST_F(OptionsTest, AFreshUserGetsTheDefaults) {
    LoadSettings(store);
    EXPECT_EQ(g_ComPort, 1);
    EXPECT_EQ(g_PollInterval, 200);
    EXPECT_EQ(g_DeviceAddress, 2);
    EXPECT_EQ(g_Flags, 0);
    EXPECT_EQ(store.writes, 0);
}

TEST_F(OptionsTest, StoredValuesAreLoadedByTheirNames) {
    Store("ComPort", 5);
    Store("PollIntervall", 800);
    Store("DeviceAddress", 40);
    Store("Flags", 1);
    LoadSettings(store);
    EXPECT_EQ(g_ComPort, 5);
    EXPECT_EQ(g_PollInterval, 800);
    EXPECT_EQ(g_DeviceAddress, 40);
    EXPECT_EQ(g_Flags, 1);
}

TEST_F(OptionsTest, AValueInAnotherSectionIsNotTaken) {
    store.values[{"Settings", "ComPort"}] = 7;
    LoadSettings(store);
    EXPECT_EQ(g_ComPort, 1);
}

TEST_F(OptionsTest, SaveWritesTheFourValuesThatLoadReads) {
    g_ComPort = 3;
    g_PollInterval = 400;
    g_DeviceAddress = 7;
    g_Flags = 1;
    SaveSettings(store);
    EXPECT_EQ(store.writes, 4);
    EXPECT_EQ(Stored("ComPort"), 3u);
    EXPECT_EQ(Stored("PollIntervall"), 400u);
    EXPECT_EQ(Stored("DeviceAddress"), 7u);
    EXPECT_EQ(Stored("Flags"), 1u);
    g_ComPort = 0;
    g_PollInterval = 0;
    g_DeviceAddress = 0;
    g_Flags = 0;
    LoadSettings(store);
    EXPECT_EQ(g_ComPort, 3);
    EXPECT_EQ(g_PollInterval, 400);
    EXPECT_EQ(g_DeviceAddress, 7);
    EXPECT_EQ(g_Flags, 1);
}

TEST_F(OptionsTest, IntervalEntriesInOrder) {
    const int expected[] = {100, 200, 300, 400, 500, 600, 800, 1000};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(PollIntervalOfEntry(i), expected[i]);
        EXPECT_EQ(PollIntervalEntry(expected[i]), i);
    }
}

TEST_F(OptionsTest, AnIntervalWithoutAnEntrySelectsEntryZeroAndOkStoresIt) {
    Store("PollIntervall", 250);
    LoadSettings(store);
    OptionsFields fields = OptionsFromSettings();
    EXPECT_EQ(fields.intervalEntry, 0);
    ApplyOptions(fields);
    SaveSettings(store);
    EXPECT_EQ(Stored("PollIntervall"), 100u);
}

TEST_F(OptionsTest, NoSelectionGivesTheFirstEntry) {
    EXPECT_EQ(PollIntervalOfEntry(kNoEntrySelected), 100);
    EXPECT_EQ(PollIntervalOfEntry(8), 100);
}

TEST_F(OptionsTest, TheDialogOpensWithTheSettings) {
    g_ComPort = 4;
    g_DeviceAddress = 12;
    g_PollInterval = 800;
    g_Flags = 0x03;
    const OptionsFields fields = OptionsFromSettings();
    EXPECT_EQ(fields.comPort, 4);
    EXPECT_EQ(fields.address, 12);
    EXPECT_EQ(fields.intervalEntry, 6);
    EXPECT_EQ(fields.longSorter, 1);
}

TEST_F(OptionsTest, AddressesZeroAndOneAreIgnored) {
    g_DeviceAddress = 2;
    OptionsFields fields;
    fields.comPort = 6;
    fields.intervalEntry = 3;
    fields.address = 1;
    ApplyOptions(fields);
    EXPECT_EQ(g_DeviceAddress, 2);
    EXPECT_EQ(g_ComPort, 6);
    EXPECT_EQ(g_PollInterval, 400);
    fields.address = 0;
    ApplyOptions(fields);
    EXPECT_EQ(g_DeviceAddress, 2);
    fields.address = 3;
    ApplyOptions(fields);
    EXPECT_EQ(g_DeviceAddress, 3);
}

TEST_F(OptionsTest, AnyPortNumberIsTaken) {
    OptionsFields fields;
    fields.comPort = 0;
    ApplyOptions(fields);
    EXPECT_EQ(g_ComPort, 0);
    fields.comPort = 255;
    ApplyOptions(fields);
    EXPECT_EQ(g_ComPort, 255);
}

TEST_F(OptionsTest, OkKeepsOnlyTheLongSorterBit) {
    OptionsFields fields;
    fields.longSorter = 1;
    ApplyOptions(fields);
    EXPECT_EQ(g_Flags, FLAG_LONG_SORTER);
    fields.longSorter = 0;
    ApplyOptions(fields);
    EXPECT_EQ(g_Flags, 0);
}

TEST(NumberFieldTest, ByteFields) {
    EXPECT_EQ(ParseByteField("0"), uint8_t{0});
    EXPECT_EQ(ParseByteField(" 255 "), uint8_t{255});
    EXPECT_EQ(ParseByteField("007"), uint8_t{7});
    EXPECT_FALSE(ParseByteField("256"));
    EXPECT_FALSE(ParseByteField(""));
    EXPECT_FALSE(ParseByteField("   "));
    EXPECT_FALSE(ParseByteField("-1"));
    EXPECT_FALSE(ParseByteField("1 2"));
    EXPECT_FALSE(ParseByteField("12a"));
}

TEST(NumberFieldTest, UnsignedFields) {
    EXPECT_EQ(ParseUnsignedField("4294967295"), 4294967295u);
    EXPECT_EQ(ParseUnsignedField("0"), 0u);
    EXPECT_FALSE(ParseUnsignedField("4294967296"));
    EXPECT_FALSE(ParseUnsignedField("99999999999999999999999"));
    EXPECT_FALSE(ParseUnsignedField("-5"));
    EXPECT_FALSE(ParseUnsignedField("1.5"));
}

} // namespace
