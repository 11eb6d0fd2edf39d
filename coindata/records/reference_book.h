// The coin reference book: up to 1000 records, each allocated separately.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

constexpr size_t kReferenceCapacity = 1000;
constexpr size_t kReferenceBookRecordBytes = 1354;

struct ReferenceBookRecord {
    char szCoinId[8] = {}; // 6 characters, NUL at byte 6
    char szShort[150] = {};
    char szFull[1000] = {};
    char szYear[32] = {};
    char szDimensions[100] = {};
    char szCountry[32] = {};
    char szDenomination[32] = {};
};

using ReferenceBookRecordBytes = std::array<uint8_t, kReferenceBookRecordBytes>;

ReferenceBookRecordBytes EncodeReferenceBookRecord(const ReferenceBookRecord& record);
ReferenceBookRecord DecodeReferenceBookRecord(const ReferenceBookRecordBytes& bytes);

// In book order; iReferenceCount is ReferenceBook.size(). The window
// thread alone uses it.
extern std::vector<std::unique_ptr<ReferenceBookRecord>> ReferenceBook;

// Frees every record (count 0).
void ClearReferenceBook();
