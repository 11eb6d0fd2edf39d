// "Reference_Book.ref" of any content: the book holds at most its capacity
// of records, each with its texts terminated, or is empty after the
// damaged-file message.
#include "coindata/files/data_paths.h"
#include "coindata/files/file_result.h"
#include "coindata/files/reference_book_file.h"
#include "coindata/records/reference_book.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_files.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InScratchFolder inside;
    WriteScratchFile(kReferenceBookFileName, FileFromInput(data, size));
    const int result = ReadReferenceBook();
    const int boxes = TakeMessageBoxCount();
    if (result == kFileOk) {
        FUZZ_REQUIRE(boxes == 0 && ReferenceBook.size() <= kReferenceCapacity);
        for (const auto& record : ReferenceBook) {
            const ReferenceBookRecordBytes bytes = EncodeReferenceBookRecord(*record);
            FUZZ_REQUIRE(EncodeReferenceBookRecord(DecodeReferenceBookRecord(bytes)) == bytes);
        }
    } else {
        FUZZ_REQUIRE(result == kFileDamaged && boxes == 1 && ReferenceBook.empty());
    }
    ClearReferenceBook();
    return 0;
}
