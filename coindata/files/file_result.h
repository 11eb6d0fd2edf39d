// Result codes of every data file reader and writer.
#pragma once

constexpr int kFileOk = 0;         // read or written
constexpr int kFileCannotOpen = 1; // cannot be opened (or, for a writer, not written)
constexpr int kFileDamaged = 2;    // checksum, size, count or CRC wrong
