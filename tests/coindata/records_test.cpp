#include "coindata/records/coin_image.h"
#include "coindata/records/coin_set.h"
#include "coindata/records/coin_stat_record.h"
#include "coindata/records/coin_weights.h"
#include "coindata/records/reference_book.h"

#include "coindata_test_support.h"

#include <cstring>

namespace {

template <typename Array>
Bytes ToBytes(const Array& a) {
    return Bytes(a.begin(), a.end());
}

TEST(CoinStatRecord, WordsLieInDeclarationOrderLittleEndian) {
    CoinStatRecord record;
    record.aPoints[0].iMax = 0x01020304;
    record.aPoints[0].iC = -2;
    record.aPoints[23].iPos = 77;
    record.iD1 = 1500;
    record.iTime2 = -1;
    record.aiReserved[7] = 0x7FFFFFFF;
    const Bytes bytes = ToBytes(EncodeCoinStatRecord(record));
    ASSERT_EQ(432u, bytes.size());
    EXPECT_EQ((Bytes{4, 3, 2, 1}), Bytes(bytes.begin(), bytes.begin() + 4));
    EXPECT_EQ(-2, Le32At(bytes, 12));
    EXPECT_EQ(77, Le32At(bytes, (23 * 4 + 2) * 4));
    EXPECT_EQ(1500, Le32At(bytes, 96 * 4));
    EXPECT_EQ(-1, Le32At(bytes, 99 * 4));
    EXPECT_EQ(0x7FFFFFFF, Le32At(bytes, 107 * 4));

    const CoinStatRecord back = DecodeCoinStatRecord(EncodeCoinStatRecord(record));
    EXPECT_EQ(bytes, ToBytes(EncodeCoinStatRecord(back)));
    EXPECT_EQ(77, back.aPoints[23].iPos);
}

TEST(CoinWeights, HoldsEightyWordsAndTheCount) {
    CoinWeights weights;
    for (size_t i = 0; i < kWeightWords; ++i) weights.aiWords[i] = static_cast<int32_t>(i * 1000 - 5);
    weights.iCount = 321;
    const Bytes bytes = ToBytes(EncodeCoinWeights(weights));
    ASSERT_EQ(324u, bytes.size());
    EXPECT_EQ(72 * 1000 - 5, Le32At(bytes, kD1Weight * 4));
    EXPECT_EQ(321, Le32At(bytes, 320));
    const CoinWeights back = DecodeCoinWeights(EncodeCoinWeights(weights));
    EXPECT_EQ(0, std::memcmp(weights.aiWords, back.aiWords, sizeof weights.aiWords));
    EXPECT_EQ(321, back.iCount);
}

TEST(ReferenceBookRecord, TextFieldsFollowEachOther) {
    ReferenceBookRecord record;
    std::strcpy(record.szCoinId, "RU1K0B");
    std::strcpy(record.szShort, "Short");
    std::strcpy(record.szFull, "Полное описание");
    std::strcpy(record.szYear, "1998");
    std::strcpy(record.szDimensions, "20 mm");
    std::strcpy(record.szCountry, "Россия");
    std::strcpy(record.szDenomination, "1 рубль");
    const Bytes bytes = ToBytes(EncodeReferenceBookRecord(record));
    ASSERT_EQ(1354u, bytes.size());
    EXPECT_EQ("RU1K0B", TextAt(bytes, 0, 8));
    EXPECT_EQ(0, bytes[6]);
    EXPECT_EQ("Short", TextAt(bytes, 8, 150));
    EXPECT_EQ("Полное описание", TextAt(bytes, 158, 1000));
    EXPECT_EQ("1998", TextAt(bytes, 1158, 32));
    EXPECT_EQ("20 mm", TextAt(bytes, 1190, 100));
    EXPECT_EQ("Россия", TextAt(bytes, 1290, 32));
    EXPECT_EQ("1 рубль", TextAt(bytes, 1322, 32));
}

TEST(ReferenceBookRecord, ATextWithoutTerminatorIsCutOnRead) {
    ReferenceBookRecordBytes bytes{};
    std::memset(bytes.data() + 8, 'x', 150);
    const ReferenceBookRecord record = DecodeReferenceBookRecord(bytes);
    EXPECT_EQ(std::string(149, 'x'), record.szShort);
    EXPECT_EQ("", std::string(record.szFull));
}

TEST(CoinSet, StartUpValues) {
    const CoinSet set = InitialCoinSet();
    for (size_t i = 0; i < 16; ++i) {
        EXPECT_STREQ("......", set[i].szCoinId);
        EXPECT_STREQ("*", set[i].szComment);
        EXPECT_EQ(2, set[i].iErrorDivider);
        EXPECT_EQ(32u, set[i].dwReserved1);
        EXPECT_EQ(0, set[i].bSelected);
        EXPECT_EQ(0, set[i].bEnabled);
    }
    const Bytes zero(kCoinSetSlotBytes, 0);
    for (size_t i = 16; i < 32; ++i) EXPECT_EQ(zero, ToBytes(EncodeCoinSetSlot(set[i]))) << i;
}

TEST(CoinSet, FileSlotHasTheIdentifierBeforeTheComment) {
    CoinSetEntry slot;
    slot.bSelected = 1;
    slot.bPresent = 1;
    slot.dwReserved1 = 0xA1B2C3D4;
    std::strcpy(slot.szComment, "comment");
    std::strcpy(slot.szCoinId, "EU200A");
    slot.iErrorDivider = 200;
    slot.iParam2 = 7;
    slot.bEnabled = 1;
    slot.dwReserved2 = 2;
    slot.dwReserved3 = 3;
    slot.abReserved[19] = 0xEE;
    const Bytes bytes = ToBytes(EncodeCoinSetSlot(slot));
    ASSERT_EQ(262u, bytes.size());
    EXPECT_EQ(1, Le32At(bytes, 0));
    EXPECT_EQ(static_cast<int32_t>(0xA1B2C3D4), Le32At(bytes, 8));
    EXPECT_EQ("EU200A", TextAt(bytes, 12, 10));
    EXPECT_EQ("comment", TextAt(bytes, 22, 200));
    EXPECT_EQ(200, Le32At(bytes, 222));
    EXPECT_EQ(7, Le32At(bytes, 226));
    EXPECT_EQ(1, Le32At(bytes, 230));
    EXPECT_EQ(3, Le32At(bytes, 238));
    EXPECT_EQ(0xEE, bytes[261]);

    const CoinSetEntry back = DecodeCoinSetSlot(EncodeCoinSetSlot(slot));
    EXPECT_EQ(0, back.bPresent); // read as not present
    CoinSetEntry expected = slot;
    expected.bPresent = 0;
    EXPECT_EQ(ToBytes(EncodeCoinSetSlot(expected)), ToBytes(EncodeCoinSetSlot(back)));
}

TEST(CoinImage, FieldsAtBytes234To245) {
    CoinImage image{};
    image[233] = 0x55;
    image[234] = 9;
    image[235] = 0x00;
    image[236] = 0xE1;
    image[237] = 0x0B;
    image[238] = 0x5E;
    std::memcpy(image.data() + 239, "UA050C", 6);
    image[245] = 15;
    image[246] = 0x66;
    const CoinImageFields fields = ReadCoinImageFields(image);
    EXPECT_EQ(9, fields.bFirm);
    EXPECT_EQ(1577836800u, fields.tWritten);
    EXPECT_STREQ("UA050C", fields.szCoinId);
    EXPECT_EQ(15, fields.bCoinIndex);

    CoinImage written{};
    written[233] = 0x55;
    written[246] = 0x66;
    WriteCoinImageFields(written, fields);
    EXPECT_EQ(image, written); // bytes 233 and 246 untouched, no NUL stored
}

} // namespace
