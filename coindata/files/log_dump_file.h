// The acceptor's log dump: ".\<serial>.tea", the pages and a 256-byte
// trailer enciphered (key 0), then the checksum.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr size_t kLogPageBytes = 256;
constexpr size_t kLogTrailerBytes = 256;

// The trailer behind the pages: the acceptor's identity as held in memory,
// the time of writing, zeros, then the CRC-16 of the pages and trailer
// bytes 0-253 (low byte first). Numbers are stored low byte first.
namespace log_dump_trailer {
constexpr size_t kAddressAt = 0;
constexpr size_t kSerialAt = 1; // 32-bit
constexpr size_t kSerialTextAt = 5;
constexpr size_t kSerialTextBytes = 32;
constexpr size_t kManufacturerAt = 37;
constexpr size_t kManufacturerBytes = 8;
constexpr size_t kCategoryAt = 45;
constexpr size_t kCategoryBytes = 13;
constexpr size_t kBuildAt = 58;
constexpr size_t kBuildBytes = 16;
constexpr size_t kRevisionAt = 74;
constexpr size_t kRevisionBytes = 6;
constexpr size_t kWrittenAt = 80; // 32-bit
constexpr size_t kUsedBytes = 84; // bytes 84-253 are zero
constexpr size_t kCrcAt = 254;
static_assert(kSerialTextAt + kSerialTextBytes == kManufacturerAt &&
                  kManufacturerAt + kManufacturerBytes == kCategoryAt && kCategoryAt + kCategoryBytes == kBuildAt &&
                  kBuildAt + kBuildBytes == kRevisionAt && kRevisionAt + kRevisionBytes == kWrittenAt &&
                  kWrittenAt + 4 == kUsedBytes,
              "the trailer's fields follow each other");
static_assert(kCrcAt + 2 == kLogTrailerBytes, "the CRC ends the trailer");
} // namespace log_dump_trailer

// What a deciphered trailer holds; texts are code page 1251, each cut at
// its first NUL within its width.
struct LogDumpTrailer {
    uint8_t bAddress = 0;
    uint32_t dwSerial = 0;
    std::string serialText;
    std::string manufacturer;
    std::string category;
    std::string build;
    std::string revision;
    uint32_t tWritten = 0;
};

LogDumpTrailer DecodeLogDumpTrailer(const uint8_t* trailer);

// Whether the CRC-16 in the trailer behind `pageBytes` bytes of deciphered
// pages matches them and the trailer.
bool LogDumpCrcMatches(const uint8_t* plain, size_t pageBytes);

// pPages holds nBytes of pages (a multiple of 256) and 256 bytes of room
// behind them for the trailer, which records `tWritten` as the time of
// writing. The buffer is enciphered in place. Returns 0, or 1 with its
// message when the file was not written. Called on the serial service thread.
int WriteLogDump(uint8_t* pPages, uint32_t nBytes, uint32_t tWritten);
