#include "ui/settings_choice.h"

#include "coindata/records/config_state.h"
#include "link/port_settings.h"

#include <gtest/gtest.h>

namespace {

class SettingsChoiceTest : public ::testing::Test {
protected:
    void TearDown() override {
        bConfigDefaults = 0;
        iPortIndex = 1;
    }
};

TEST_F(SettingsChoiceTest, WithoutAConfigurationTheLastPortIsPreselectedUntilTheFirstSave) {
    bConfigDefaults = 1;
    iPortIndex = 1;
    ChoosePortOnOpening(3);
    EXPECT_EQ(2, iPortIndex);
    // The operator picks COM1 and saves; a later opening keeps COM1.
    iPortIndex = 0;
    NoteSettingsSaved();
    ChoosePortOnOpening(3);
    EXPECT_EQ(0, iPortIndex);
    ChoosePortOnOpening(5);
    EXPECT_EQ(0, iPortIndex);
}

TEST_F(SettingsChoiceTest, NoPortFoundPreselectsTheFirstEntry) {
    bConfigDefaults = 1;
    iPortIndex = 4;
    ChoosePortOnOpening(0);
    EXPECT_EQ(0, iPortIndex);
}

TEST_F(SettingsChoiceTest, AReadConfigurationKeepsItsPort) {
    bConfigDefaults = 0;
    iPortIndex = 1;
    ChoosePortOnOpening(4);
    EXPECT_EQ(1, iPortIndex);
}

} // namespace
