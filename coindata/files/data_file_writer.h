// Writes a data file so that a failure never leaves a half-written file in
// place of a good one: the content and its checksum go to a temporary file
// beside the target, which is read back and checked, and only then put in
// the target's place, its content on the disk before its name, so that a
// power cut leaves the old file or the new one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// `path` is in the program's form. False when the file could not be
// written; the old file is then unchanged and no temporary file remains.
bool WriteDataFile(const std::string& path, const uint8_t* content, size_t n);

// The temporary file's name for a target.
std::string TemporaryPathFor(const std::string& path);
