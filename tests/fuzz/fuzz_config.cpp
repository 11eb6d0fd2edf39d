// "Ducat Console.cnf" of any content: ReadConfig takes it or falls back to
// the defaults with its message, and a configuration it takes is written
// and read back unchanged.
#include "coindata/files/config_file.h"
#include "coindata/files/data_paths.h"
#include "coindata/files/file_result.h"
#include "coindata/records/config_record.h"
#include "coindata/records/config_state.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_files.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InScratchFolder inside;
    ApplyConfig(ConfigRecord{});
    const std::vector<uint8_t> defaults = EncodeConfig(CollectConfig());
    WriteScratchFile(kConfigFileName, FileFromInput(data, size));

    const int result = ReadConfig();
    const int boxes = TakeMessageBoxCount();
    const std::vector<uint8_t> held = EncodeConfig(CollectConfig());
    if (result == kFileOk) {
        FUZZ_REQUIRE(boxes == 0 && bConfigDefaults == 0);
        ConfigRecord again;
        FUZZ_REQUIRE(DecodeConfig(held.data(), held.size(), again));
        FUZZ_REQUIRE(EncodeConfig(again) == held);
    } else {
        FUZZ_REQUIRE(result == kFileDamaged && boxes == 1 && bConfigDefaults == 1);
        FUZZ_REQUIRE(held == defaults);
    }
    return 0;
}
