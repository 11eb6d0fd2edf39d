#include "coindata/files/file_result.h"
#include "coindata/files/reference_book_file.h"
#include "coindata/records/reference_book.h"

#include "coindata_test_support.h"

#include <sys/stat.h>

#include <cstring>

namespace {

using platform::MessageIcon;

constexpr char kBookName[] = "Reference_Book.ref";
constexpr char kDamagedText[] = "Ошибка контрольной суммы файла справочника по монетам <Reference_Book.ref>. "
                                "Для переменных установлены значения по умолчанию";

class ReferenceBookFileTest : public DataFileTest {
protected:
    static void AddRecord(const char* id, const char* full) {
        auto record = std::make_unique<ReferenceBookRecord>();
        std::strcpy(record->szCoinId, id);
        std::strcpy(record->szFull, full);
        ReferenceBook.push_back(std::move(record));
    }
};

TEST_F(ReferenceBookFileTest, WrittenBookReadsBack) {
    AddRecord("RU1K0B", "Один рубль");
    AddRecord("EU200A", "Two euro");
    ASSERT_EQ(kFileOk, WriteReferenceBook());
    const Bytes file = ReadFileBytes(kBookName);
    ASSERT_EQ(4u + 2 * 1354 + 4, file.size());
    EXPECT_EQ(2, Le32At(file, 0));
    EXPECT_EQ("EU200A", TextAt(file, 4 + 1354, 8));
    EXPECT_EQ("Two euro", TextAt(file, 4 + 1354 + 158, 1000));

    AddRecord("XX000X", "dropped by the read");
    ASSERT_EQ(kFileOk, ReadReferenceBook());
    ExpectNoMessage();
    ASSERT_EQ(2u, ReferenceBook.size());
    EXPECT_STREQ("RU1K0B", ReferenceBook[0]->szCoinId);
    EXPECT_STREQ("Один рубль", ReferenceBook[0]->szFull);
    EXPECT_STREQ("Two euro", ReferenceBook[1]->szFull);
}

TEST_F(ReferenceBookFileTest, MissingBookIsEmptyAndSilent) {
    AddRecord("RU1K0B", "held before");
    EXPECT_EQ(kFileCannotOpen, ReadReferenceBook());
    ExpectNoMessage();
    EXPECT_TRUE(ReferenceBook.empty());
}

TEST_F(ReferenceBookFileTest, DamagedBooksAreEmptyWithTheMessage) {
    struct Case {
        uint32_t count;
        size_t records;
        bool breakSum;
    };
    for (const Case c : {Case{1, 1, true}, Case{2, 1, false}, Case{0x80000000, 1, false}, Case{1001, 1001, false}}) {
        AddRecord("RU1K0B", "held before");
        Bytes content(4 + 1354 * c.records, 'a');
        PutLe32(content, 0, c.count);
        Bytes file = WithEnvelope(content);
        if (c.breakSum) file[5] ^= 1;
        WriteFileBytes(kBookName, file);
        EXPECT_EQ(kFileDamaged, ReadReferenceBook()) << c.count;
        EXPECT_TRUE(ReferenceBook.empty());
    }
    ASSERT_EQ(4u, Messages().size());
    EXPECT_EQ(kDamagedText, Messages()[0].text);
    EXPECT_EQ("Чтение данных", Messages()[0].caption);
    EXPECT_EQ(MessageIcon::Exclamation, Messages()[0].icon);
}

TEST_F(ReferenceBookFileTest, AThousandRecordsAreTheLimit) {
    for (int i = 0; i < 1000; ++i) AddRecord("RU1K0B", "x");
    ASSERT_EQ(kFileOk, WriteReferenceBook());
    EXPECT_EQ(kFileOk, ReadReferenceBook());
    EXPECT_EQ(1000u, ReferenceBook.size());
}

TEST_F(ReferenceBookFileTest, AFailedWriteReportsAndKeepsTheOldFile) {
    AddRecord("RU1K0B", "old");
    ASSERT_EQ(kFileOk, WriteReferenceBook());
    const Bytes old = ReadFileBytes(kBookName);
    AddRecord("EU200A", "new");
    ASSERT_EQ(0, ::mkdir("Reference_Book.ref.tmp", 0755));
    EXPECT_EQ(kFileCannotOpen, WriteReferenceBook());
    ExpectOneMessage(" Ошибка записи файла <Reference_Book.ref>", "Запись в файл", MessageIcon::Stop);
    EXPECT_EQ(old, ReadFileBytes(kBookName));
}

} // namespace
