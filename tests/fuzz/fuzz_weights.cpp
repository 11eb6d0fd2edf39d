// A weights file of any content: ReadWeights takes it, or clears words
// 0-75 and the count after the damaged-file message and keeps the
// reserved words 76-79.
#include "coindata/files/coin_stat_files.h"
#include "coindata/files/data_paths.h"
#include "coindata/files/file_result.h"
#include "coindata/records/coin_weights.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_files.h"

#include <cstddef>
#include <cstdint>

namespace {
constexpr char kCoinId[] = "RU1K0B";
constexpr int32_t kBefore = 0x5A5A5A5A; // every word before the read
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InScratchFolder inside;
    WriteScratchFile(NativePath(WeightsPath(kCoinId)), FileFromInput(data, size));
    CoinWeights weights;
    for (int32_t& word : weights.aiWords) word = kBefore;
    weights.iCount = kBefore;
    const int result = ReadWeights(kCoinId, &weights);
    const int boxes = TakeMessageBoxCount();
    if (result == kFileOk) {
        FUZZ_REQUIRE(boxes == 0);
        return 0;
    }
    FUZZ_REQUIRE(result == kFileDamaged && boxes == 1 && weights.iCount == 0);
    for (size_t i = 0; i < kWeightWords; ++i) {
        FUZZ_REQUIRE(weights.aiWords[i] == (i < kFirstReservedWeight ? 0 : kBefore));
    }
    return 0;
}
