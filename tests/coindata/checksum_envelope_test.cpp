#include "coindata/files/checksum_envelope.h"
#include "coindata/files/data_file_reader.h"
#include "coindata/files/file_result.h"

#include "coindata_test_support.h"

namespace {

TEST(ChecksumEnvelope, SumsBytesAsSignedValues) {
    const Bytes content = {0x01, 0xFF, 0x80};
    EXPECT_EQ(-128, ContentSum(content.data(), content.size()));
    const Bytes file = WithEnvelope(content);
    EXPECT_EQ((Bytes{0x01, 0xFF, 0x80, 0x80, 0xFF, 0xFF, 0xFF}), file);
    EXPECT_TRUE(EnvelopeMatches(file.data(), file.size()));
}

TEST(ChecksumEnvelope, NegativeSumOfAll0x80IsAccepted) {
    const Bytes content(1000, 0x80);
    const Bytes file = WithEnvelope(content);
    EXPECT_EQ(-128000, Le32At(file, 1000));
    EXPECT_TRUE(EnvelopeMatches(file.data(), file.size()));
    Bytes wrong = file;
    wrong[1000] ^= 1;
    EXPECT_FALSE(EnvelopeMatches(wrong.data(), wrong.size()));
}

TEST(ChecksumEnvelope, SumWrapsAroundInThirtyTwoBits) {
    EnvelopeSum sum;
    const Bytes chunk(1 << 20, 0x7F); // 127 per byte
    for (int i = 0; i < 20; ++i) sum.Add(chunk.data(), chunk.size());
    const int64_t exact = int64_t{127} * 20 * (1 << 20);
    EXPECT_EQ(static_cast<int32_t>(static_cast<uint32_t>(exact)), sum.Value());
}

TEST(ChecksumEnvelope, ShorterThanFourBytesIsBad) {
    for (const Bytes& file : {Bytes{}, Bytes{0}, Bytes{0, 0, 0}}) {
        EXPECT_FALSE(EnvelopeMatches(file.data(), file.size())) << file.size();
    }
    EXPECT_TRUE(EnvelopeMatches(Bytes{0, 0, 0, 0}.data(), 4));
}

class DataFileReaderTest : public DataFileTest {};

TEST_F(DataFileReaderTest, ChecksStreamedFilesOfEveryShortLength) {
    EXPECT_EQ(kFileCannotOpen, DataFileReader().Open("absent.bin"));
    for (size_t size = 0; size < 4; ++size) {
        WriteFileBytes("short.bin", Bytes(size, 0));
        EXPECT_EQ(kFileDamaged, DataFileReader().Open("short.bin")) << size;
    }
    WriteFileBytes("empty.bin", WithEnvelope({}));
    DataFileReader empty;
    ASSERT_EQ(kFileOk, empty.Open("empty.bin"));
    EXPECT_EQ(0u, empty.ContentSize());
}

TEST_F(DataFileReaderTest, ChecksFilesLongerThanOneChunkAndStopsAtTheContentEnd) {
    // Files around 8 KiB and 16 KiB end with their trailer split over two reads.
    for (size_t total : {8190u, 8191u, 8192u, 8193u, 8194u, 8195u, 8196u, 16385u, 16386u}) {
        Bytes content(total - 4);
        for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<uint8_t>(i * 7 + total);
        WriteFileBytes("long.bin", WithEnvelope(content));
        DataFileReader reader;
        ASSERT_EQ(kFileOk, reader.Open("long.bin")) << total;
        ASSERT_EQ(content.size(), reader.ContentSize());
        Bytes back(content.size());
        ASSERT_TRUE(reader.Read(back.data(), back.size()));
        EXPECT_EQ(content, back);
        uint8_t beyond = 0;
        EXPECT_FALSE(reader.Read(&beyond, 1)); // the trailer is not content
    }
    Bytes content(20000, 0x33);

    Bytes damaged = WithEnvelope(content);
    damaged[12345] ^= 0x40;
    WriteFileBytes("long.bin", damaged);
    EXPECT_EQ(kFileDamaged, DataFileReader().Open("long.bin"));
}

TEST_F(DataFileReaderTest, RejectsCountsTheFileCannotHold) {
    struct Case {
        uint32_t count;
        size_t records;
        bool ok;
    };
    for (const Case c : {Case{2, 2, true}, Case{3, 2, false}, Case{0xFFFFFFFF, 2, false}, Case{0x80000000, 0, false},
                         Case{11, 11, false}, Case{10, 10, true}}) {
        Bytes content(4 + 8 * c.records);
        PutLe32(content, 0, c.count);
        WriteFileBytes("count.bin", WithEnvelope(content));
        DataFileReader reader;
        ASSERT_EQ(kFileOk, reader.Open("count.bin"));
        size_t count = 99;
        EXPECT_EQ(c.ok, reader.ReadCount(count, 10, 8)) << c.count;
        if (c.ok) {
            EXPECT_EQ(c.count, count);
        }
    }
}

} // namespace
