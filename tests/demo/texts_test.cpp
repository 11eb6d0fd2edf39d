// The texts Pollbench makes from device data: coin values, money, error
// lines, identification pieces, Sort texts, teach channel and status.
#include "demo/core/teach.h"
#include "demo/driver/cct_reply.h"
#include "demo/texts/coin_value.h"
#include "demo/texts/error_text.h"
#include "demo/texts/identification_text.h"
#include "demo/texts/sort_text.h"

#include <gtest/gtest.h>

namespace {

TEST(CoinValue, ValueCharactersWithTheirExponentLetter) {
    EXPECT_EQ(ParseCoinValue("EU200A"), 200u);
    EXPECT_EQ(ParseCoinValue("EU.50A"), 50u);
    EXPECT_EQ(ParseCoinValue("EU1k0A"), 1000u);
    EXPECT_EQ(ParseCoinValue("EU2.5A"), 25u); // exponent -1 leaves the value unscaled
    EXPECT_EQ(ParseCoinValue("XX1M0A"), 1000000u);
    EXPECT_EQ(ParseCoinValue("XX5m0A"), 50u);
    EXPECT_EQ(ParseCoinValue("XXk.5A"), 5u); // the later letter wins
    EXPECT_EQ(ParseCoinValue("EU200"), 0u);
    EXPECT_EQ(ParseCoinValue("......"), 0u);
    EXPECT_EQ(ParseCoinValue("EU2x0A"), 20u);
}

TEST(CoinValue, MoneyText) {
    EXPECT_EQ(MoneyText(0), "0.00");
    EXPECT_EQ(MoneyText(5), "0.05");
    EXPECT_EQ(MoneyText(12345), "123.45");
    EXPECT_EQ(MoneyText(4294967295u), "42949672.95");
}

TEST(ErrorText, ErrorLineIsCodeThenText) {
    EXPECT_EQ(ErrorLine(0), "Code 0 ");
    EXPECT_EQ(ErrorLine(1), "Code 1 (coin rejected)");
    EXPECT_EQ(ErrorLine(9), "Code 9 (unknown)");
    EXPECT_EQ(ErrorLine(120), "Code 120 (interfering light)");
    EXPECT_EQ(ErrorLine(254), "Code 254 (coin return mechanism activated)");
    EXPECT_STREQ(ErrorText(29), "(accept gate open not closed, unexp. acception)");
    EXPECT_STREQ(ErrorText(127), "(RZ7 additional sorter path 8)");
    EXPECT_STREQ(ErrorText(255), "(unknown)");
}

TEST(IdentificationText, SerialNumberIsLittleEndianOfThreeOrFourBytes) {
    CctReply r;
    r.length = 3;
    r.data[0] = 0x7B;
    EXPECT_EQ(SerialNumberFromReply(r), 123u);
    r.data[1] = 0x01;
    r.data[2] = 0x02;
    EXPECT_EQ(SerialNumberFromReply(r), 0x02017Bu);
    r.length = 4;
    r.data[3] = 0x80;
    EXPECT_EQ(SerialNumberFromReply(r), 0x8002017Bu);
    r.length = 2;
    EXPECT_EQ(SerialNumberFromReply(r), 0u);
    EXPECT_EQ(SerialNumberText(123), "123");
    EXPECT_EQ(SerialNumberText(0xFFFFFFFFu), "-1");
}

TEST(IdentificationText, OptionLettersAndOfferedControls) {
    EXPECT_EQ(OptionLetters(0x40), "E");
    EXPECT_EQ(OptionLetters(0xF0), "TEML");
    EXPECT_EQ(OptionLetters(0x0F), "");
    EXPECT_FALSE(MasterInhibitOffered("52.01"));
    EXPECT_FALSE(MasterInhibitOffered("52.00"));
    EXPECT_TRUE(MasterInhibitOffered("52.010"));
    EXPECT_TRUE(MasterInhibitOffered("52.0"));
    EXPECT_TRUE(IsQxProduct("QX"));
    EXPECT_TRUE(IsQxProduct("QX300"));
    EXPECT_FALSE(IsQxProduct("Q"));
    EXPECT_FALSE(IsQxProduct("qx300"));
}

TEST(SortText, PathsToTextAndBack) {
    EXPECT_EQ(SortTextFromPaths({3, 0, 0, 0}, 1), "3");
    EXPECT_EQ(SortTextFromPaths({1, 2, 0, 4}, 4), "124");
    EXPECT_EQ(SortTextFromPaths({1, 2, 0, 4}, 1), "1");
    EXPECT_EQ(SortTextFromPaths({0, 0, 0, 0}, 4), "");
    EXPECT_EQ(PathsFromSortText("3", 1, 7), (SorterPaths{3, 0, 0, 0}));
    EXPECT_EQ(PathsFromSortText("3", 4, 7), (SorterPaths{3, 7, 7, 7}));
    EXPECT_EQ(PathsFromSortText("9", 1, 6), (SorterPaths{6, 0, 0, 0}));
    EXPECT_EQ(PathsFromSortText("1x28", 4, 5), (SorterPaths{1, 5, 2, 8}));
}

TEST(Teach, ChannelByteFromTheChannelField) {
    EXPECT_EQ(TeachChannelByte("3", true), 0x83);
    EXPECT_EQ(TeachChannelByte("300", false), 44);
    EXPECT_EQ(TeachChannelByte("", false), 0);
    EXPECT_EQ(TeachChannelByte("abc", false), 0);
    EXPECT_EQ(TeachChannelByte(" 12x", false), 12);
    EXPECT_EQ(TeachChannelByte("-3", false), 253);
    EXPECT_EQ(TeachChannelByte("99999999999999999999", false), 255); // modulo 256, however long
}

TEST(Teach, StatusTexts) {
    EXPECT_EQ(TeachStatusText(252, 0), "Teach aborted");
    EXPECT_EQ(TeachStatusText(253, 0), "Teach Error");
    EXPECT_EQ(TeachStatusText(254, 5), "Busy: 5 Coins");
    EXPECT_EQ(TeachStatusText(255, 6), "Teach complete");
    EXPECT_EQ(TeachStatusText(0, 0), "");
    EXPECT_FALSE(TeachFinished(254));
    EXPECT_TRUE(TeachFinished(0));
}

} // namespace
