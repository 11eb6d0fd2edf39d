// The identification reply as DeviceInfo and as the identity line.
#include "commands/identification.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> ReplyData() {
    std::vector<uint8_t> data(101, 0);
    data[4] = 7;
    data[8] = 0x15;
    data[9] = 0xCD;
    data[10] = 0x5B;
    data[11] = 0x07; // 123456789
    std::memcpy(&data[12], "SN-1", 4);
    std::memcpy(&data[48], "MAKER", 5);
    std::memcpy(&data[56], "Coin Acceptor", 13);
    std::memcpy(&data[69], "Build 16 chars!!", 16);
    std::memcpy(&data[85], "1.2.3", 5);
    return data;
}

TEST(Identification, FieldsComeFromTheirPlaces) {
    const DeviceInfo info = DecodeIdentification(ReplyData().data());
    EXPECT_EQ(7, info.bAddress);
    EXPECT_EQ(123456789u, info.dwSerial);
    EXPECT_STREQ("SN-1", info.szSerial);
    EXPECT_STREQ("MAKER", info.szManufacturer);
    EXPECT_STREQ("Coin Acceptor", info.szCategory);
    EXPECT_STREQ("Build 16 chars!!", info.szBuild);
    EXPECT_STREQ("1.2.3", info.szRevision);
    EXPECT_EQ("Addr= 7,  Serial= 123456789 \"SN-1\",  Manufacture= \"MAKER\",  Category= \"Coin Acceptor\",  "
              "Build= \"Build 16 chars!!\",  Revision= \"1.2.3\"",
              FormatIdentityLine(info));
}

TEST(Identification, TextsAreCutWithinTheirFields) {
    std::vector<uint8_t> data = ReplyData();
    // Every byte of the texts' area non-zero: no terminator anywhere.
    for (size_t i = 12; i < 90; ++i) data[i] = 'A' + static_cast<uint8_t>(i % 26);
    const DeviceInfo info = DecodeIdentification(data.data());
    EXPECT_EQ(31u, std::strlen(info.szSerial));
    EXPECT_EQ(0, std::memcmp(info.szSerial, &data[12], 31));
    EXPECT_EQ(8u, std::strlen(info.szManufacturer));
    EXPECT_EQ(13u, std::strlen(info.szCategory));
    EXPECT_EQ(16u, std::strlen(info.szBuild));
    EXPECT_EQ(5u, std::strlen(info.szRevision));
    EXPECT_EQ(0, std::memcmp(info.szRevision, &data[85], 5));
    EXPECT_LE(FormatIdentityLine(info).size(), 289u);
}

TEST(Identification, DeviceTextsAreNeverAFormat) {
    std::vector<uint8_t> data = ReplyData();
    std::memcpy(&data[12], "%s%n%x%d", 8);
    std::memcpy(&data[48], "%%%p", 5);
    const std::string line = FormatIdentityLine(DecodeIdentification(data.data()));
    EXPECT_NE(std::string::npos, line.find("Serial= 123456789 \"%s%n%x%d\""));
    EXPECT_NE(std::string::npos, line.find("Manufacture= \"%%%p\""));
}

} // namespace
