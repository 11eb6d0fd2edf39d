// Opens a data file, checks its checksum envelope by streaming through it
// (no buffer sized by the file), and then hands out its content in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

class DataFileReader {
public:
    // kFileOk, kFileCannotOpen or kFileDamaged (shorter than 4 bytes, or
    // the sum differs). `path` is in the program's form.
    int Open(const std::string& path);

    uint64_t ContentSize() const { return contentSize_; }
    uint64_t Remaining() const { return contentSize_ - position_; }
    // False when n bytes would pass the content's end or the read fails.
    bool Read(uint8_t* out, size_t n);
    // Reads a signed 32-bit record count. False unless it is 0 to
    // `capacity` and the rest of the content holds that many records.
    bool ReadCount(size_t& count, size_t capacity, size_t recordBytes);

private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
    uint64_t contentSize_ = 0;
    uint64_t position_ = 0;
};
