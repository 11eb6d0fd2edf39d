#include "coindata/files/reference_book_file.h"

#include "coindata/files/data_file_reader.h"
#include "coindata/files/data_file_writer.h"
#include "coindata/files/data_paths.h"
#include "coindata/files/file_messages.h"
#include "coindata/files/file_result.h"
#include "coindata/records/reference_book.h"
#include "link/checksums.h"

#include <vector>

namespace {

constexpr char kDamagedText[] =
    "Ошибка контрольной суммы файла справочника по монетам <Reference_Book.ref>. "
    "Для переменных установлены значения по умолчанию";
constexpr size_t kCountBytes = 4;

bool ReadBook(DataFileReader& reader) {
    size_t count = 0;
    if (!reader.ReadCount(count, kReferenceCapacity, kReferenceBookRecordBytes)) return false;
    ReferenceBook.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        ReferenceBookRecordBytes bytes;
        if (!reader.Read(bytes.data(), bytes.size())) return false;
        ReferenceBook.push_back(std::make_unique<ReferenceBookRecord>(DecodeReferenceBookRecord(bytes)));
    }
    return true;
}

std::vector<uint8_t> EncodeBook() {
    std::vector<uint8_t> content(kCountBytes);
    StoreLe32(content.data(), static_cast<uint32_t>(ReferenceBook.size()));
    for (const auto& record : ReferenceBook) {
        const ReferenceBookRecordBytes bytes = EncodeReferenceBookRecord(*record);
        content.insert(content.end(), bytes.begin(), bytes.end());
    }
    return content;
}

} // namespace

int ReadReferenceBook() {
    ClearReferenceBook();
    DataFileReader reader;
    int result = reader.Open(kReferenceBookFileName);
    if (result == kFileOk && !ReadBook(reader)) result = kFileDamaged;
    if (result == kFileDamaged) {
        ClearReferenceBook();
        ShowReaderMessage(kDamagedText, kReadDataCaption);
    }
    return result;
}

int WriteReferenceBook() {
    const std::vector<uint8_t> content = EncodeBook();
    if (WriteDataFile(kReferenceBookFileName, content.data(), content.size())) return kFileOk;
    ShowWriterMessage(WithPath(kWriteErrorText, kReferenceBookFileName), kWriteCaption);
    return kFileCannotOpen;
}
