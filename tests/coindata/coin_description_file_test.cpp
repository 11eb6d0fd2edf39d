#include "coindata/files/checksum_envelope.h"
#include "coindata/files/coin_description_file.h"
#include "coindata/files/file_result.h"
#include "cipher/block_cipher.h"
#include "link/checksums.h"
#include "tests/support/coin_description_files.h"

#include "coindata_test_support.h"

#include <cstring>

namespace {

using platform::MessageIcon;

CoinDescription SampleDescription() {
    CoinDescription d;
    std::strcpy(d.szDenomination, "1 рубль");
    std::strcpy(d.szYear, "1997");
    std::strcpy(d.szDimensions, "20.5 mm, 3.25 g");
    std::strcpy(d.szCountry, "Россия");
    std::strcpy(d.szShort, "Рубль");
    std::memset(d.szFull, 'F', 999);
    return d;
}

CoinImage SampleImage() {
    CoinImage image{};
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 31 + 7);
    CoinImageFields fields;
    fields.bFirm = 4;
    fields.tWritten = 1577836800;
    std::memcpy(fields.szCoinId, "RU1K0B", 7);
    fields.bCoinIndex = 11;
    WriteCoinImageFields(image, fields);
    return image;
}

class CoinDescriptionFileTest : public DataFileTest {
protected:
    void SetUp() override {
        DataFileTest::SetUp();
        CurrentCoinDescription = CoinDescription{};
        std::strcpy(CurrentCoinDescription.szCountry, "before");
        abCoinImage.fill(0xA5);
    }
    void ExpectUnchanged() const {
        EXPECT_STREQ("before", CurrentCoinDescription.szCountry);
        EXPECT_EQ(0, CurrentCoinDescription.bCoinIndex);
        for (uint8_t b : abCoinImage) ASSERT_EQ(0xA5, b);
    }
};

TEST_F(CoinDescriptionFileTest, FileLayoutUnderTheCipher) {
    const Bytes file = EncodeCoinDescriptionFile(SampleDescription(), SampleImage());
    ASSERT_EQ(5700u, file.size());
    EXPECT_EQ(ContentSum(file.data(), 5696), Le32At(file, 5696)); // over the enciphered bytes
    Bytes plain(file.begin(), file.begin() + 5696);
    DecipherBuffer(plain.data(), 5696, 0);
    EXPECT_EQ("1 рубль", TextAt(plain, 0, 32));
    EXPECT_EQ("1997", TextAt(plain, 32, 32));
    EXPECT_EQ("20.5 mm, 3.25 g", TextAt(plain, 64, 100));
    EXPECT_EQ("Россия", TextAt(plain, 164, 32));
    EXPECT_EQ("Рубль", TextAt(plain, 196, 150));
    EXPECT_EQ(std::string(999, 'F'), TextAt(plain, 346, 1000));
    for (size_t i = 1346; i < 1598; ++i) ASSERT_EQ(0, plain[i]) << i;
    const CoinImage image = SampleImage();
    EXPECT_TRUE(std::equal(image.begin(), image.end(), plain.begin() + 1598));
    EXPECT_EQ(11, plain[1843]);
    EXPECT_EQ(Crc16(plain.data(), 5694), plain[5694] | plain[5695] << 8);
}

TEST_F(CoinDescriptionFileTest, RoundTripThroughCipherAndCrc) {
    WriteFileBytes("coin.tea", EncodeCoinDescriptionFile(SampleDescription(), SampleImage()));
    ASSERT_EQ(kFileOk, ReadCoinDescription("coin.tea"));
    ExpectNoMessage();
    const CoinDescription& d = CurrentCoinDescription;
    EXPECT_STREQ("1 рубль", d.szDenomination);
    EXPECT_STREQ("1997", d.szYear);
    EXPECT_STREQ("20.5 mm, 3.25 g", d.szDimensions);
    EXPECT_STREQ("Россия", d.szCountry);
    EXPECT_STREQ("Рубль", d.szShort);
    EXPECT_EQ(std::string(999, 'F'), d.szFull);
    EXPECT_EQ(4, d.bFirm);
    EXPECT_EQ(1577836800u, d.tWritten);
    EXPECT_STREQ("RU1K0B", d.szCoinId);
    EXPECT_EQ(11, d.bCoinIndex);
    EXPECT_EQ(SampleImage(), abCoinImage);
}

TEST_F(CoinDescriptionFileTest, AFullShortDescriptionIsCutTo149Characters) {
    CoinDescription d = SampleDescription();
    std::memset(d.szShort, 'S', sizeof d.szShort);
    std::memset(d.szDenomination, 'D', sizeof d.szDenomination);
    WriteFileBytes("coin.tea", EncodeCoinDescriptionFile(d, SampleImage()));
    ASSERT_EQ(kFileOk, ReadCoinDescription("coin.tea"));
    EXPECT_EQ(std::string(149, 'S'), CurrentCoinDescription.szShort);
    EXPECT_EQ(std::string(31, 'D'), CurrentCoinDescription.szDenomination);
    EXPECT_STREQ("1997", CurrentCoinDescription.szYear);
}

TEST_F(CoinDescriptionFileTest, AWrongSizeIsRejectedWithItsMessage) {
    Bytes content = EncodeCoinDescriptionFile(SampleDescription(), SampleImage());
    content.resize(5697, 0); // 5701 bytes with a right checksum
    WriteFileBytes("long.tea", WithEnvelope(content));
    EXPECT_EQ(kFileDamaged, ReadCoinDescription("long.tea"));
    ExpectOneMessage("Coin Description File \"long.tea\" Checksum Error", "Reading File", MessageIcon::Exclamation);
    ExpectUnchanged();
}

TEST_F(CoinDescriptionFileTest, ABadChecksumIsRejectedWithItsMessage) {
    Bytes file = EncodeCoinDescriptionFile(SampleDescription(), SampleImage());
    file[5699] ^= 0x80;
    WriteFileBytes("bad.tea", file);
    EXPECT_EQ(kFileDamaged, ReadCoinDescription("./bad.tea"));
    ExpectOneMessage("Coin Description File \"./bad.tea\" Checksum Error", "Reading File", MessageIcon::Exclamation);
    ExpectUnchanged();
}

TEST_F(CoinDescriptionFileTest, AWrongCrcReturnsTwoSilently) {
    Bytes file = EncodeCoinDescriptionFile(SampleDescription(), SampleImage());
    file[3000] ^= 0x01;
    file = WithEnvelope(Bytes(file.begin(), file.begin() + 5696)); // the checksum is right again
    WriteFileBytes("crc.tea", file);
    EXPECT_EQ(kFileDamaged, ReadCoinDescription("crc.tea"));
    ExpectNoMessage();
    ExpectUnchanged();
}

TEST_F(CoinDescriptionFileTest, AMissingFileReturnsOneSilently) {
    EXPECT_EQ(kFileCannotOpen, ReadCoinDescription("absent.tea"));
    ExpectNoMessage();
    ExpectUnchanged();
}

} // namespace
