#include "coindata/files/coin_stat_files.h"
#include "coindata/files/file_result.h"
#include "coindata/records/current_coin.h"

#include "coindata_test_support.h"

#include <cstring>

namespace {

using platform::MessageIcon;

constexpr char kArchiveText[] = "Ошибка контрольной суммы файла данных статистики <.\\Coins Stat\\RU1K0B.coin>. "
                                "Для переменных установлены значения по умолчанию";
constexpr char kWeightsText[] = "Ошибка контрольной суммы файла весовых коэффициентов <.\\Coins Stat\\RU1K0B.aut>. "
                                "Для переменных установлены значения по умолчанию";

// An archive file whose record r holds r * 1000 + word in each word.
Bytes ArchiveContent(uint32_t count, size_t records) {
    Bytes content(4 + 432 * records);
    PutLe32(content, 0, count);
    for (size_t r = 0; r < records; ++r) {
        for (size_t w = 0; w < 108; ++w) PutLe32(content, 4 + 432 * r + 4 * w, static_cast<uint32_t>(r * 1000 + w));
    }
    return content;
}

class CoinStatFilesTest : public DataFileTest {
protected:
    void SetUp() override {
        DataFileTest::SetUp();
        for (size_t i = 0; i < kWeightWords; ++i) weights.aiWords[i] = static_cast<int32_t>(i + 1);
        weights.iCount = 99;
    }
    void ExpectClearedWeights() const {
        for (size_t i = 0; i < 76; ++i) EXPECT_EQ(0, weights.aiWords[i]) << i;
        for (size_t i = 76; i < 80; ++i) EXPECT_EQ(static_cast<int32_t>(i + 1), weights.aiWords[i]) << i;
        EXPECT_EQ(0, weights.iCount);
    }
    CoinWeights weights;
};

TEST_F(CoinStatFilesTest, ArchiveRecordsAreRead) {
    WriteFileBytes("Coins Stat/RU1K0B.coin", WithEnvelope(ArchiveContent(3, 3)));
    EXPECT_EQ(kFileOk, ReadArchive("RU1K0B"));
    ExpectNoMessage();
    EXPECT_EQ(3, iArchiveCount);
    EXPECT_EQ(0, stArchive[0].aPoints[0].iMax);
    EXPECT_EQ(1003, stArchive[1].aPoints[0].iC);
    EXPECT_EQ(2096, stArchive[2].iD1);
    EXPECT_EQ(2107, stArchive[2].aiReserved[7]);
}

TEST_F(CoinStatFilesTest, MissingArchiveIsSilent) {
    iArchiveCount = 7;
    EXPECT_EQ(kFileCannotOpen, ReadArchive("RU1K0B"));
    ExpectNoMessage();
    EXPECT_EQ(0, iArchiveCount);
}

TEST_F(CoinStatFilesTest, DamagedArchiveCounts) {
    struct Case {
        uint32_t count;
        size_t records;
    };
    // Bad checksum; more than the file holds; negative; above the capacity
    // (a file that really holds 10001 records).
    for (const Case c : {Case{2, 2}, Case{3, 2}, Case{0xFFFFFFFF, 1}, Case{10001, 10001}}) {
        Bytes file = WithEnvelope(ArchiveContent(c.count, c.records));
        if (c.count == 2) file[10] ^= 1;
        WriteFileBytes("Coins Stat/RU1K0B.coin", file);
        iArchiveCount = 5;
        EXPECT_EQ(kFileDamaged, ReadArchive("RU1K0B")) << c.count;
        EXPECT_EQ(0, iArchiveCount);
    }
    ASSERT_EQ(4u, Messages().size());
    EXPECT_EQ(kArchiveText, Messages()[3].text);
    EXPECT_EQ("Чтение архива статистики", Messages()[3].caption);
    EXPECT_EQ(MessageIcon::Exclamation, Messages()[3].icon);
}

TEST_F(CoinStatFilesTest, FullArchiveIsRead) {
    WriteFileBytes("Coins Stat/RU1K0B.coin", WithEnvelope(ArchiveContent(10000, 10000)));
    EXPECT_EQ(kFileOk, ReadArchive("RU1K0B"));
    EXPECT_EQ(10000, iArchiveCount);
    EXPECT_EQ(9999 * 1000 + 107, stArchive[9999].aiReserved[7]);
}

TEST_F(CoinStatFilesTest, WeightsAreRead) {
    Bytes content(324);
    for (size_t w = 0; w < 81; ++w) PutLe32(content, 4 * w, static_cast<uint32_t>(-static_cast<int32_t>(w)));
    WriteFileBytes("Coins Stat/RU1K0B.aut", WithEnvelope(content));
    EXPECT_EQ(kFileOk, ReadWeights("RU1K0B", &weights));
    ExpectNoMessage();
    EXPECT_EQ(-75, weights.aiWords[75]);
    EXPECT_EQ(-79, weights.aiWords[79]);
    EXPECT_EQ(-80, weights.iCount);
}

TEST_F(CoinStatFilesTest, MissingWeightsClearWordsUpTo75) {
    EXPECT_EQ(kFileCannotOpen, ReadWeights("RU1K0B", &weights));
    ExpectNoMessage();
    ExpectClearedWeights();
}

TEST_F(CoinStatFilesTest, BadWeightsChecksumClearsWordsUpTo75WithItsMessage) {
    Bytes file = WithEnvelope(Bytes(324, 0x10));
    file[324] ^= 1;
    WriteFileBytes("Coins Stat/RU1K0B.aut", file);
    EXPECT_EQ(kFileDamaged, ReadWeights("RU1K0B", &weights));
    ExpectOneMessage(kWeightsText, "Чтение данных", MessageIcon::Exclamation);
    ExpectClearedWeights();
}

TEST_F(CoinStatFilesTest, ShortWeightsFileCountsAsDamaged) {
    WriteFileBytes("Coins Stat/RU1K0B.aut", WithEnvelope(Bytes(323, 0x10)));
    EXPECT_EQ(kFileDamaged, ReadWeights("RU1K0B", &weights));
    ExpectOneMessage(kWeightsText, "Чтение данных", MessageIcon::Exclamation);
    ExpectClearedWeights();
}

TEST_F(CoinStatFilesTest, CurrentCoinFilesLoadOnlyForTwoTo98Characters) {
    EXPECT_FALSE(CoinIdLoadable("R"));
    EXPECT_TRUE(CoinIdLoadable("RU"));
    EXPECT_TRUE(CoinIdLoadable(std::string(98, 'A').c_str()));
    EXPECT_FALSE(CoinIdLoadable(std::string(99, 'A').c_str()));
    EXPECT_FALSE(CoinIdLoadable(""));

    WriteFileBytes("Coins Stat/R.coin", WithEnvelope(ArchiveContent(1, 1)));
    std::strcpy(szCurrentCoinId, "R");
    iArchiveCount = 9;
    LoadCurrentCoinFiles();
    EXPECT_EQ(9, iArchiveCount); // not looked for

    WriteFileBytes("Coins Stat/RU.coin", WithEnvelope(ArchiveContent(1, 1)));
    std::strcpy(szCurrentCoinId, "RU");
    LoadCurrentCoinFiles();
    EXPECT_EQ(1, iArchiveCount);
}

} // namespace
