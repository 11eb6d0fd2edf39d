// `ducat show` on a file of any content and any of the program's kinds,
// the log dump's decoding above all.
#include "coindata/files/enciphered_file.h"
#include "coindata/files/log_dump_file.h"
#include "coindata/records/coin_description.h"
#include "link/checksums.h"
#include "tests/fuzz/fuzz_files.h"
#include "ui/console/file_show.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// The first byte: bits 0-2 the kind of file, bit 3 add the checksum trailer.
// The plain kinds take the rest as deciphered content, make its CRC-16
// right and encipher it, so that the decoding behind the checks is reached.
enum Kind : uint8_t { kConfig, kReferenceBook, kArchive, kWeights, kEnciphered, kPlainDescription, kPlainLogDump, kOther };
constexpr uint8_t kKindMask = 0x07;
constexpr uint8_t kSealed = 0x08;
const char* const kNames[] = {"show.cnf", "show.ref", "show.coin", "show.aut",
                              "show.tea", "show.tea", "show.tea",  "show.txt"};

// What `ducat show` prints goes nowhere.
std::FILE* Nowhere() {
    static std::FILE* const out = std::fopen("/dev/null", "w");
    if (out == nullptr) std::abort();
    return out;
}

void MakeDescription(std::vector<uint8_t>& bytes) {
    bytes.resize(kCoinDescriptionContentBytes);
    StoreLe16(bytes.data() + kCoinDescriptionCrcOffset, Crc16(bytes.data(), kCoinDescriptionCrcOffset));
}

// Whole pages and a trailer, when there are bytes enough for them.
void MakeLogDump(std::vector<uint8_t>& bytes) {
    if (bytes.size() < kLogPageBytes + kLogTrailerBytes) return;
    bytes.resize(bytes.size() / kLogPageBytes * kLogPageBytes);
    const size_t crcAt = bytes.size() - kLogTrailerBytes + log_dump_trailer::kCrcAt;
    StoreLe16(bytes.data() + crcAt, Crc16(bytes.data(), crcAt));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InScratchFolder inside;
    const uint8_t form = size > 0 ? data[0] : 0;
    const uint8_t kind = form & kKindMask;
    std::vector<uint8_t> bytes;
    if (size > 0) bytes.assign(data + 1, data + size);
    if (kind == kPlainDescription) MakeDescription(bytes);
    if (kind == kPlainLogDump) MakeLogDump(bytes);
    if (kind == kPlainDescription || kind == kPlainLogDump)
        EncipherFileContent(bytes.data(), bytes.size());
    if (form & kSealed) bytes = WithEnvelope(std::move(bytes));
    WriteScratchFile(kNames[kind], bytes);
    (void)ShowDataFile(kNames[kind], Nowhere());
    return 0;
}
