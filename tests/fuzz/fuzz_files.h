// What the file readers' fuzz targets share: a scratch folder of their own
// as the current directory, the input put there as a data file, message
// boxes that only count, and the checksum envelope for inputs that ask to
// have it made right.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Once, from LLVMFuzzerInitialize (argc and argv may be null): makes a
// fresh folder under the temporary folder (memory-backed where there is
// one) with the sub-folders the program expects, removed at exit, and
// installs a message box handler that shows nothing. Inputs run inside the
// folder, so unless the command line names an -artifact_prefix one is added
// that puts crash files where the fuzzer was started.
void PrepareScratchFolder(int* argc, char*** argv);

// While one lives, the scratch folder is the current directory.
class InScratchFolder {
public:
    InScratchFolder();
    ~InScratchFolder();
    InScratchFolder(const InScratchFolder&) = delete;
    InScratchFolder& operator=(const InScratchFolder&) = delete;
};

// Replaces `path` (relative to the current directory) with these bytes.
void WriteScratchFile(const std::string& path, const std::vector<uint8_t>& bytes);
// Removes the files a run left in the scratch folder itself (the
// sub-folders stay).
void ClearScratchFiles();

// Message boxes shown since the last call.
int TakeMessageBoxCount();

// The file for `content`: the content and its checksum trailer.
std::vector<uint8_t> WithEnvelope(std::vector<uint8_t> content);

// The first byte of a reader's input chooses how the rest becomes the
// file: as it is, or as content whose checksum trailer is added, so that
// the fuzzer gets past the checksum and into the content.
std::vector<uint8_t> FileFromInput(const uint8_t* data, size_t size);
// The input that FileFromInput turns into `content` sealed (for seeds).
std::vector<uint8_t> SealedInput(const std::vector<uint8_t>& content);
