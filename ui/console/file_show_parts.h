// The per-format printers of `ducat show` (console-internal).
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// Prints "name: value" lines; values are code page 1251 and go out as UTF-8,
// control bytes (texts from the acceptor) as visible escapes.
class FieldPrinter {
public:
    explicit FieldPrinter(std::FILE* out) : out_(out) {}
    void Text(const char* name, const std::string& cp1251Value);
    void Number(const char* name, long long value);
    void Check(const char* name, bool holds); // "holds" / "WRONG"
    void Heading(const std::string& cp1251Text);

private:
    std::FILE* out_;
};

// Each takes the whole file (content and the 4-byte checksum trailer) and
// returns whether everything in it holds beyond the checksum.
bool ShowConfigFile(const uint8_t* content, size_t n, FieldPrinter& p);
bool ShowReferenceBookFile(const uint8_t* content, size_t n, FieldPrinter& p);
bool ShowArchiveFile(const uint8_t* content, size_t n, FieldPrinter& p);
bool ShowWeightsFile(const uint8_t* content, size_t n, FieldPrinter& p);
// Enciphered files get a copy of their content to decipher.
bool ShowCoinDescriptionFile(uint8_t* content, size_t n, FieldPrinter& p);
bool ShowLogDumpFile(uint8_t* content, size_t n, FieldPrinter& p);

// A record count stored in the content's first 4 bytes, checked against
// what the rest holds; prints it.
bool ShowCount(const uint8_t* content, size_t n, size_t recordBytes, size_t capacity, size_t& count, FieldPrinter& p);

// ShowCount, then `show(i, bytes)` for each record i it lets through
// (RecordBytes is the record's std::array of bytes).
template <typename RecordBytes, typename Show>
bool ShowCountedRecords(const uint8_t* content, size_t n, size_t capacity, FieldPrinter& p, Show show) {
    constexpr size_t kRecordBytes = std::tuple_size<RecordBytes>::value;
    size_t count = 0;
    const bool fits = ShowCount(content, n, kRecordBytes, capacity, count, p);
    for (size_t i = 0; i < count; ++i) {
        RecordBytes bytes;
        std::copy_n(content + 4 + i * kRecordBytes, kRecordBytes, bytes.begin());
        show(i, bytes);
    }
    return fits;
}

// "%02d-%02d-%04d %02d:%02d:%02d" in local time.
std::string LocalDateTime(int64_t seconds);
