// The settings store's file under the user's configuration folder.
#include "platform/settings_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("HOME");
        if (old != nullptr) savedHome = old;
        char pattern[] = "/tmp/settings-store-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        home = pattern;
        setenv("HOME", home.c_str(), 1);
    }
    void TearDown() override {
        setenv("HOME", savedHome.c_str(), 1);
        std::filesystem::remove_all(home);
    }
    std::string FilePath() const { return home + "/.config/Maker/Tool.ini"; }

    std::string savedHome;
    std::string home;
};

TEST_F(SettingsFileTest, NothingStoredReadsAsMissing) {
    auto store = platform::OpenUserSettings("Maker", "Tool");
    EXPECT_FALSE(store->ReadNumber("Options", "ComPort"));
}

TEST_F(SettingsFileTest, WrittenNumbersAreReadBackBySectionAndName) {
    platform::OpenUserSettings("Maker", "Tool")->WriteNumber("Options", "ComPort", 5);
    auto store = platform::OpenUserSettings("Maker", "Tool");
    store->WriteNumber("Options", "Flags", 4294967295u);
    store->WriteNumber("Other", "ComPort", 9);
    store->WriteNumber("Options", "ComPort", 6);
    EXPECT_EQ(store->ReadNumber("Options", "ComPort"), 6u);
    EXPECT_EQ(store->ReadNumber("Options", "Flags"), 4294967295u);
    EXPECT_EQ(store->ReadNumber("Other", "ComPort"), 9u);
    EXPECT_FALSE(store->ReadNumber("Options", "DeviceAddress"));
    EXPECT_FALSE(platform::OpenUserSettings("Maker", "Other")->ReadNumber("Options", "ComPort"));
}

TEST_F(SettingsFileTest, AValueThatIsNotANumberReadsAsMissing) {
    platform::OpenUserSettings("Maker", "Tool")->WriteNumber("Options", "ComPort", 1);
    {
        std::ofstream out(FilePath(), std::ios::trunc);
        out << "[Options]\nComPort=abc\nFlags=-1\nPollIntervall=4294967296\nDeviceAddress=12\n";
    }
    auto store = platform::OpenUserSettings("Maker", "Tool");
    EXPECT_FALSE(store->ReadNumber("Options", "ComPort"));
    EXPECT_FALSE(store->ReadNumber("Options", "Flags"));
    EXPECT_FALSE(store->ReadNumber("Options", "PollIntervall"));
    EXPECT_EQ(store->ReadNumber("Options", "DeviceAddress"), 12u);
}

TEST(MemorySettingsStoreTest, KeepsWhatWasWritten) {
    platform::MemorySettingsStore store;
    EXPECT_FALSE(store.ReadNumber("Options", "ComPort"));
    store.WriteNumber("Options", "ComPort", 3);
    EXPECT_EQ(store.ReadNumber("Options", "ComPort"), 3u);
    EXPECT_FALSE(store.ReadNumber("Other", "ComPort"));
    EXPECT_EQ(store.writes, 1);
}

} // namespace
