#include "coindata/files/checksum_envelope.h"
#include "coindata/files/config_file.h"
#include "coindata/files/file_result.h"
#include "coindata/records/config_state.h"
#include "link/command_mailbox.h"
#include "link/port_settings.h"

#include "coindata_test_support.h"

#include <sys/stat.h>

#include <cstring>

namespace {

using platform::MessageIcon;

constexpr char kConfigName[] = "Ducat Console.cnf";
constexpr char kReadCaption[] = "Reading from file \"Ducat Console.cnf\"";
constexpr size_t kCoinSetAt = 212;
constexpr size_t kSlotBytes = 262;

class ConfigFileTest : public DataFileTest {
protected:
    // Every setting at its start-up value.
    static void ExpectInitialSettings() {
        EXPECT_EQ(6, iSpeedIndex);
        EXPECT_EQ(0, iProtocolIndex);
        EXPECT_EQ(1, iPortIndex);
        EXPECT_EQ(1u, Mailbox.bDeviceAddress.load());
        EXPECT_STREQ("RU1K0B", szCurrentCoinId);
        EXPECT_STREQ("......", stCoinSet[0].szCoinId);
        EXPECT_STREQ("*", stCoinSet[15].szComment);
        EXPECT_EQ(2, stCoinSet[15].iErrorDivider);
        EXPECT_STREQ("", stCoinSet[16].szCoinId);
        EXPECT_EQ(0u, dwLastSerialWritten);
        EXPECT_STREQ("", g_configReserved.szProgramPath);
        EXPECT_EQ(0.2, g_configReserved.dReserved13);
    }
};

TEST_F(ConfigFileTest, MissingFileKeepsTheDefaults) {
    EXPECT_EQ(kFileCannotOpen, ReadConfig());
    ExpectOneMessage("Configuration file \"Ducat Console.cnf\" not found. Variables are set to default values.",
                     kReadCaption, MessageIcon::Exclamation);
    EXPECT_EQ(1, bConfigDefaults);
    ExpectInitialSettings();
}

TEST_F(ConfigFileTest, BadChecksumKeepsTheDefaultsAndTheFile) {
    Bytes content(60, 0);
    PutLe32(content, 0, 2);
    PutLe32(content, 4, 3);
    Bytes file = WithEnvelope(content);
    file.back() ^= 0x01;
    WriteFileBytes(kConfigName, file);
    EXPECT_EQ(kFileDamaged, ReadConfig());
    ExpectOneMessage("Error checksum configuration file \"Ducat Console.cnf\". Variables are set to default values.",
                     kReadCaption, MessageIcon::Exclamation);
    EXPECT_EQ(1, bConfigDefaults);
    ExpectInitialSettings();
    EXPECT_EQ(file, ReadFileBytes(kConfigName));
}

TEST_F(ConfigFileTest, ContentShorterThanItsVersionCountsAsDamaged) {
    for (size_t size : {0u, 3u, 100u, 12636u}) {
        Bytes content(size, 0);
        if (size >= 4) PutLe32(content, 0, 12);
        if (size >= 8) PutLe32(content, 4, 9);
        WriteFileBytes(kConfigName, WithEnvelope(content));
        bConfigDefaults = 0;
        EXPECT_EQ(kFileDamaged, ReadConfig()) << size;
        EXPECT_EQ(1, bConfigDefaults);
        EXPECT_EQ(6, iSpeedIndex) << size;
    }
}

TEST_F(ConfigFileTest, VersionTwoKeepsLaterGroupsAndIsRewrittenAsVersionTwelve) {
    Bytes content(60, 0);
    const uint32_t words[15] = {2, 3, 0, 5, 4, 7, 21, 22, 23, 24, 25, 26, 27, 28, 29};
    for (size_t i = 0; i < 15; ++i) PutLe32(content, 4 * i, words[i]);
    WriteFileBytes(kConfigName, WithEnvelope(content));

    EXPECT_EQ(kFileOk, ReadConfig());
    ExpectNoMessage();
    EXPECT_EQ(0, bConfigDefaults);
    EXPECT_EQ(3, iSpeedIndex);
    EXPECT_EQ(4, iPortIndex);
    EXPECT_EQ(7u, Mailbox.bDeviceAddress.load());
    EXPECT_EQ(5, g_configReserved.iReserved1);
    EXPECT_EQ(29, g_configReserved.aiReserved5[1]);
    EXPECT_STREQ("RU1K0B", szCurrentCoinId);
    EXPECT_STREQ("......", stCoinSet[3].szCoinId);
    EXPECT_STREQ("", g_configReserved.szSecondProgramPath);

    ASSERT_EQ(kFileOk, WriteConfig());
    const Bytes file = ReadFileBytes(kConfigName);
    ASSERT_EQ(12641u, file.size());
    EXPECT_EQ(12, Le32At(file, 0));
    for (size_t i = 1; i < 15; ++i) EXPECT_EQ(static_cast<int32_t>(words[i]), Le32At(file, 4 * i)) << i;
    EXPECT_EQ("RU1K0B", TextAt(file, 60, 100));
    EXPECT_EQ(1, Le32At(file, 160));   // reserved, initially 1 and 0
    EXPECT_EQ(1, Le32At(file, 208));   // version 5 reserved
    EXPECT_EQ(32, Le32At(file, kCoinSetAt + 8));
    EXPECT_EQ("......", TextAt(file, kCoinSetAt + 12, 10));
    EXPECT_EQ("*", TextAt(file, kCoinSetAt + 22, 200));
    EXPECT_EQ(2, Le32At(file, kCoinSetAt + 222));
    EXPECT_EQ(7, Le32At(file, 8613)); // version 9 reserved 0, 7
    double reserved = 0;
    std::memcpy(&reserved, &file[8617], 8);
    EXPECT_EQ(0.2, reserved);
    EXPECT_EQ(10, Le32At(file, 8633));
    EXPECT_EQ(ContentSum(file.data(), 12637), Le32At(file, 12637));
    EXPECT_FALSE(FileExists("Ducat Console.cnf.tmp"));
}

TEST_F(ConfigFileTest, EveryFieldRoundTrips) {
    iSpeedIndex = 9;
    iProtocolIndex = 3;
    iPortIndex = 12;
    Mailbox.bDeviceAddress.store(200);
    std::strcpy(szCurrentCoinId, "EU002C");
    for (size_t i = 0; i < kCoinSetSlots; ++i) {
        CoinSetEntry& slot = stCoinSet[i];
        slot.bSelected = static_cast<int32_t>(i % 2);
        slot.bPresent = 1;
        slot.dwReserved1 = 1000 + static_cast<uint32_t>(i);
        std::snprintf(slot.szComment, sizeof slot.szComment, "Комментарий %zu", i);
        std::snprintf(slot.szCoinId, sizeof slot.szCoinId, "ID%04zu", i);
        slot.iErrorDivider = static_cast<int32_t>(i * 8);
        slot.iParam2 = static_cast<int32_t>(255 - i);
        slot.bEnabled = 1;
        slot.dwReserved2 = 0xFFFFFFF0u + static_cast<uint32_t>(i % 16);
        slot.dwReserved3 = static_cast<uint32_t>(i);
        slot.abReserved[i % 20] = static_cast<uint8_t>(i);
    }
    dwLastSerialWritten = 0x89ABCDEF;
    bHexDisplay = 1;
    ConfigReserved& r = g_configReserved;
    r.iReserved1 = -1;
    r.aiReserved2[3] = 44;
    r.iReserved3 = 45;
    r.aiReserved4[0] = 46;
    r.aiReserved5[1] = 47;
    r.aiReserved6[0] = 0;
    r.aiReserved6[1] = 1;
    std::strcpy(r.szReserved7, "seven");
    std::strcpy(r.szReserved8, "eight");
    r.iReserved9 = 49;
    r.aiReserved10[1] = 50;
    r.bReserved11 = 0xAB;
    r.aiReserved12[0] = 51;
    r.dReserved13 = -1.5e300;
    r.aiReserved14[1] = 52;
    std::strcpy(r.szProgramPath, "C:\\Firmware\\one.bin");
    std::memset(r.szSecondProgramPath, 'p', kProgramPathBytes - 1);
    const std::vector<uint8_t> before = EncodeConfig(CollectConfig());

    ASSERT_EQ(kFileOk, WriteConfig());
    const Bytes file = ReadFileBytes(kConfigName);
    ASSERT_EQ(12641u, file.size());
    EXPECT_EQ("EU002C", TextAt(file, 60, 100));
    EXPECT_EQ("ID0031", TextAt(file, kCoinSetAt + 31 * kSlotBytes + 12, 10));
    EXPECT_EQ(static_cast<int32_t>(0x89ABCDEF), Le32At(file, 8604));
    EXPECT_EQ(0xAB, file[8608]);
    EXPECT_EQ(1, Le32At(file, 8625));
    EXPECT_EQ("C:\\Firmware\\one.bin", TextAt(file, 8637, 2000));
    EXPECT_EQ(std::string(1999, 'p'), TextAt(file, 10637, 2000));

    ApplyConfig(ConfigRecord{});
    ASSERT_EQ(kFileOk, ReadConfig());
    EXPECT_EQ(0, bConfigDefaults);
    for (const CoinSetEntry& slot : stCoinSet) EXPECT_EQ(0, slot.bPresent);
    for (CoinSetEntry& slot : stCoinSet) slot.bPresent = 1;
    EXPECT_EQ(before, EncodeConfig(CollectConfig()));
}

TEST_F(ConfigFileTest, LaterVersionsAreReadUpToTheKnownGroups) {
    ConfigRecord record;
    record.iSpeedIndex = 2;
    std::strcpy(record.reserved.szSecondProgramPath, "second");
    Bytes content = EncodeConfig(record);
    PutLe32(content, 0, 13);
    content.resize(content.size() + 50, 0x11); // a newer group
    WriteFileBytes(kConfigName, WithEnvelope(content));
    EXPECT_EQ(kFileOk, ReadConfig());
    EXPECT_EQ(2, iSpeedIndex);
    EXPECT_STREQ("second", g_configReserved.szSecondProgramPath);

    // A version below 1 carries no group at all.
    PutLe32(content, 0, 0);
    WriteFileBytes(kConfigName, WithEnvelope(content));
    iSpeedIndex = 5;
    EXPECT_EQ(kFileOk, ReadConfig());
    EXPECT_EQ(5, iSpeedIndex);
    EXPECT_EQ(0, bConfigDefaults);
}

TEST_F(ConfigFileTest, TheWindowsStartWordsAreWrittenAsZeroAndOne) {
    ASSERT_EQ(kFileCannotOpen, ReadConfig()); // the first start: words 1 and 0
    ExpectOneMessage("Configuration file \"Ducat Console.cnf\" not found. Variables are set to default values.",
                     kReadCaption, MessageIcon::Exclamation);
    SetWindowStartWords();
    ASSERT_EQ(kFileOk, WriteConfig());
    Bytes file = ReadFileBytes(kConfigName);
    EXPECT_EQ(0, Le32At(file, 160));
    EXPECT_EQ(1, Le32At(file, 164));

    // A file that holds 1 and 0 reads back as such, and the start sets 0 and 1 again.
    PutLe32(file, 160, 1);
    PutLe32(file, 164, 0);
    WriteFileBytes(kConfigName, WithEnvelope(Bytes(file.begin(), file.end() - 4)));
    ASSERT_EQ(kFileOk, ReadConfig());
    EXPECT_EQ(1, g_configReserved.aiReserved6[0]);
    EXPECT_EQ(0, g_configReserved.aiReserved6[1]);
    SetWindowStartWords();
    ASSERT_EQ(kFileOk, WriteConfig());
    file = ReadFileBytes(kConfigName);
    EXPECT_EQ(0, Le32At(file, 160));
    EXPECT_EQ(1, Le32At(file, 164));
}

TEST_F(ConfigFileTest, AFailedWriteReportsAndKeepsTheOldFile) {
    const Bytes old = WithEnvelope(Bytes(60, 0));
    WriteFileBytes(kConfigName, old);
    ASSERT_EQ(0, ::mkdir("Ducat Console.cnf.tmp", 0755)); // the temporary file cannot be made
    EXPECT_EQ(kFileCannotOpen, WriteConfig());
    ExpectOneMessage("Error writing configuration file \"Ducat Console.cnf\"", "Write to File \"Ducat Console.cnf\"",
                     MessageIcon::Stop);
    EXPECT_EQ(old, ReadFileBytes(kConfigName));
}

} // namespace
