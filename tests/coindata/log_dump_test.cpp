#include "coindata/files/checksum_envelope.h"
#include "coindata/files/file_result.h"
#include "coindata/files/log_dump_file.h"
#include "coindata/files/log_dump_name.h"
#include "coindata/records/device_info.h"
#include "cipher/block_cipher.h"
#include "link/checksums.h"

#include "coindata_test_support.h"

#include <sys/stat.h>

#include <cstring>

namespace {

using platform::MessageIcon;

DeviceInfo SampleInfo(const char* serial) {
    DeviceInfo info;
    info.bAddress = 3;
    info.dwSerial = 0x01020304;
    std::strcpy(info.szSerial, serial);
    std::memcpy(info.szManufacturer, "MAKERCO8", 9);
    std::strcpy(info.szCategory, "Coin Acceptor");
    std::strcpy(info.szBuild, "Build 2019-12-31");
    std::strcpy(info.szRevision, "V1.23");
    return info;
}

constexpr uint32_t kWritten = 1577836800; // the time of writing the trailer records

class LogDumpTest : public DataFileTest {
protected:
    void TearDown() override {
        SetDeviceInfo(DeviceInfo{});
        DataFileTest::TearDown();
    }
    // n pages of a pattern and the room for the trailer.
    static Bytes Pages(size_t n) {
        Bytes buffer((n + 1) * 256, 0xEE);
        for (size_t i = 0; i < n * 256; ++i) buffer[i] = static_cast<uint8_t>(i ^ (i >> 8));
        return buffer;
    }
    // A written dump deciphered, checksum checked.
    static Bytes PlainDump(const std::string& path) {
        Bytes file = ReadFileBytes(path);
        EXPECT_TRUE(EnvelopeMatches(file.data(), file.size())) << path;
        file.resize(file.size() - 4);
        DecipherBuffer(file.data(), static_cast<uint32_t>(file.size()), 0);
        return file;
    }
};

TEST_F(LogDumpTest, DecipheredFileHoldsThePagesAndTheTrailer) {
    SetDeviceInfo(SampleInfo("SN-0042"));
    Bytes buffer = Pages(2);
    const Bytes plainPages(buffer.begin(), buffer.begin() + 512);
    ASSERT_EQ(kFileOk, WriteLogDump(buffer.data(), 512, kWritten));
    ExpectNoMessage();
    EXPECT_NE(plainPages, Bytes(buffer.begin(), buffer.begin() + 512)); // enciphered in place

    const Bytes plain = PlainDump("SN-0042.tea");
    ASSERT_EQ(768u, plain.size());
    EXPECT_EQ(plainPages, Bytes(plain.begin(), plain.begin() + 512));
    const uint8_t* t = plain.data() + 512;
    EXPECT_EQ(3, t[0]);
    EXPECT_EQ((Bytes{4, 3, 2, 1}), Bytes(t + 1, t + 5));
    EXPECT_EQ("SN-0042", std::string(reinterpret_cast<const char*>(t + 5)));
    EXPECT_EQ(0, t[36]);
    EXPECT_EQ("MAKERCO8", std::string(reinterpret_cast<const char*>(t + 37), 8));
    EXPECT_EQ("Coin Acceptor", std::string(reinterpret_cast<const char*>(t + 45), 13));
    EXPECT_EQ("Build 2019-12-31", std::string(reinterpret_cast<const char*>(t + 58), 16));
    EXPECT_EQ("V1.23", std::string(reinterpret_cast<const char*>(t + 74)));
    EXPECT_EQ(0, t[79]);
    EXPECT_EQ((Bytes{0x00, 0xE1, 0x0B, 0x5E}), Bytes(t + 80, t + 84));
    for (size_t i = 84; i < 254; ++i) ASSERT_EQ(0, t[i]) << i;
    EXPECT_EQ(Crc16(plain.data(), 766), t[254] | t[255] << 8);
}

TEST_F(LogDumpTest, TheTrailerDecodesToWhatWasWritten) {
    SetDeviceInfo(SampleInfo("SN-0042"));
    Bytes buffer = Pages(2);
    ASSERT_EQ(kFileOk, WriteLogDump(buffer.data(), 512, kWritten));
    Bytes plain = PlainDump("SN-0042.tea");
    EXPECT_TRUE(LogDumpCrcMatches(plain.data(), 512));
    const LogDumpTrailer t = DecodeLogDumpTrailer(plain.data() + 512);
    EXPECT_EQ(3, t.bAddress);
    EXPECT_EQ(0x01020304u, t.dwSerial);
    EXPECT_EQ("SN-0042", t.serialText);
    EXPECT_EQ("MAKERCO8", t.manufacturer);
    EXPECT_EQ("Coin Acceptor", t.category);
    EXPECT_EQ("Build 2019-12-31", t.build);
    EXPECT_EQ("V1.23", t.revision);
    EXPECT_EQ(kWritten, t.tWritten);

    plain[100] ^= 1;
    EXPECT_FALSE(LogDumpCrcMatches(plain.data(), 512));
    // A text without a NUL fills its whole width.
    std::memset(plain.data() + 512 + 5, 'S', 32);
    EXPECT_EQ(std::string(32, 'S'), DecodeLogDumpTrailer(plain.data() + 512).serialText);
}

TEST_F(LogDumpTest, TheSerialTextCannotLeaveTheFolderOrNameADevice) {
    ASSERT_EQ(0, ::mkdir("sub", 0755));
    ASSERT_EQ(0, ::chdir("sub"));
    struct Case {
        const char* serial;
        const char* file;
    };
    for (const Case c : {Case{"../escape", "___escape.tea"}, Case{"..\\..\\x", "______x.tea"}, Case{"con", "_con.tea"},
                         Case{"", "unnamed.tea"}}) {
        SetDeviceInfo(SampleInfo(c.serial));
        Bytes buffer = Pages(1);
        ASSERT_EQ(kFileOk, WriteLogDump(buffer.data(), 256, kWritten)) << c.serial;
        EXPECT_TRUE(FileExists(c.file)) << c.file;
    }
    EXPECT_FALSE(FileExists("../escape.tea"));
    ASSERT_EQ(0, ::chdir(".."));
}

TEST_F(LogDumpTest, AFailedWriteReportsItsPathAndKeepsTheOldFile) {
    SetDeviceInfo(SampleInfo("SN-0042"));
    Bytes buffer = Pages(1);
    ASSERT_EQ(kFileOk, WriteLogDump(buffer.data(), 256, kWritten));
    const Bytes old = ReadFileBytes("SN-0042.tea");
    ASSERT_EQ(0, ::mkdir("SN-0042.tea.tmp", 0755));
    buffer = Pages(3);
    EXPECT_EQ(kFileCannotOpen, WriteLogDump(buffer.data(), 768, kWritten));
    ExpectOneMessage(" Ошибка записи файла <.\\SN-0042.tea>", "Запись в файл", MessageIcon::Stop);
    EXPECT_EQ(old, ReadFileBytes("SN-0042.tea"));
}

// The serial text is code page 1251: on the disk of a system that names
// files in UTF-8 the name is UTF-8, in the message it stays code page 1251.
TEST_F(LogDumpTest, ACyrillicSerialNamesTheFileInUtf8) {
    SetDeviceInfo(SampleInfo("Серия-7"));
    Bytes buffer = Pages(1);
    ASSERT_EQ(kFileOk, WriteLogDump(buffer.data(), 256, kWritten));
    EXPECT_TRUE(FileExists(u8"Серия-7.tea"));
    EXPECT_FALSE(FileExists("Серия-7.tea")); // no file of raw code page 1251 bytes
    EXPECT_EQ("Серия-7", DecodeLogDumpTrailer(PlainDump(u8"Серия-7.tea").data() + 256).serialText);

    ASSERT_EQ(0, ::mkdir(u8"Серия-7.tea.tmp", 0755));
    buffer = Pages(1);
    EXPECT_EQ(kFileCannotOpen, WriteLogDump(buffer.data(), 256, kWritten));
    ExpectOneMessage(" Ошибка записи файла <.\\Серия-7.tea>", "Запись в файл", MessageIcon::Stop);
    ::rmdir(u8"Серия-7.tea.tmp");
}

TEST_F(LogDumpTest, PartPagesAreRefused) {
    SetDeviceInfo(SampleInfo("SN-0042"));
    Bytes buffer = Pages(2);
    EXPECT_EQ(kFileCannotOpen, WriteLogDump(buffer.data(), 300, kWritten));
    EXPECT_EQ(kFileCannotOpen, WriteLogDump(nullptr, 0, kWritten));
    EXPECT_EQ(2u, Messages().size());
    EXPECT_FALSE(FileExists("SN-0042.tea"));
}

TEST(LogDumpName, ReplacesWhatIsNotSafeInAFileName) {
    struct Case {
        const char* serial;
        const char* name;
    };
    for (const Case c : {Case{"SN-123", "SN-123"}, Case{"a.b", "a.b"}, Case{"a..b", "a__b"}, Case{"...", "___"},
                         Case{"../../etc/passwd", "______etc_passwd"}, Case{"C:\\Win\\x", "C__Win_x"},
                         Case{"<>:\"|?*", "_______"}, Case{"\x01" "ab\x7f", "_ab_"}, Case{"Серия 5", "Серия 5"},
                         Case{"con", "_con"}, Case{"CON.txt", "_CON.txt"}, Case{"com1", "_com1"},
                         Case{"LPT9 ", "_LPT9 "}, Case{"NUL .x", "_NUL .x"}, Case{"Aux", "_Aux"},
                         Case{"PRN", "_PRN"}, Case{"COM10", "COM10"}, Case{"CONSOLE", "CONSOLE"},
                         Case{"COMX", "COMX"}, Case{"", "unnamed"}}) {
        EXPECT_EQ(c.name, LogDumpName(c.serial)) << c.serial;
    }
    EXPECT_EQ("unnamed", LogDumpName(nullptr));
    const std::string longSerial(40, 'L');
    EXPECT_EQ(std::string(31, 'L'), LogDumpName(longSerial.c_str()));
}

} // namespace
