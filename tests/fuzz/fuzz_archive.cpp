// A statistics archive of any content: ReadArchive takes at most the
// archive's capacity of records, or none after the damaged-file message.
#include "coindata/files/coin_stat_files.h"
#include "coindata/files/data_paths.h"
#include "coindata/files/file_result.h"
#include "coindata/records/current_coin.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_files.h"

#include <cstddef>
#include <cstdint>

namespace {
constexpr char kCoinId[] = "RU1K0B";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InScratchFolder inside;
    WriteScratchFile(NativePath(ArchivePath(kCoinId)), FileFromInput(data, size));
    iArchiveCount = -1;
    const int result = ReadArchive(kCoinId);
    const int boxes = TakeMessageBoxCount();
    if (result == kFileOk) {
        FUZZ_REQUIRE(boxes == 0 && iArchiveCount >= 0 && static_cast<size_t>(iArchiveCount) <= kArchiveCapacity);
    } else {
        FUZZ_REQUIRE(result == kFileDamaged && boxes == 1 && iArchiveCount == 0);
    }
    return 0;
}
