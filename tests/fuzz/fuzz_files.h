// What the file readers' fuzz targets share: a scratch folder of their own
// as the current directory, the input put there as a data file, message
// boxes that only count, and the checksum envelope for inputs that ask to
// have it made right.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Makes a fresh folder under the temporary folder (memory-backed where
// there is one), makes it the current directory together with the
// sub-folders the program expects, and removes it at exit. Also installs
// a message box handler that shows nothing. Call once, at start-up.
void EnterScratchFolder();

// Replaces `path` (relative to the scratch folder) with these bytes.
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
