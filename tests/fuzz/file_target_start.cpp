// The start of every file reader's fuzz target: its scratch folder.
#include "tests/fuzz/fuzz_files.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    PrepareScratchFolder(argc, argv);
    return 0;
}
