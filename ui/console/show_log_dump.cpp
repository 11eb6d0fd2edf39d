// `ducat show` for a log dump: the acceptor's log pages and a trailer with
// the acceptor's identity, enciphered with the file key.
#include "coindata/enciphered_file.h"
#include "coindata/log_dump_file.h"
#include "commands/acceptor_protocol.h"
#include "commands/block_cipher.h"
#include "link/checksums.h"
#include "ui/console/file_show_parts.h"

#include <algorithm>
#include <string>

namespace {

// Places in the 256-byte trailer behind the pages.
constexpr size_t kAddressAt = 0;
constexpr size_t kSerialAt = 1;
constexpr size_t kSerialTextAt = 5;
constexpr size_t kSerialTextBytes = 32;
constexpr size_t kManufacturerAt = 37;
constexpr size_t kCategoryAt = 45;
constexpr size_t kBuildAt = 58;
constexpr size_t kRevisionAt = 74;
constexpr size_t kWrittenAt = 80;
constexpr size_t kCrcAt = 254;

// A text of at most `width` bytes, cut at its first NUL.
std::string TextField(const uint8_t* at, size_t width) {
    const uint8_t* end = std::find(at, at + width, 0);
    return std::string(reinterpret_cast<const char*>(at), static_cast<size_t>(end - at));
}

} // namespace

bool ShowLogDumpFile(uint8_t* content, size_t n, FieldPrinter& p) {
    const bool shaped = n >= kLogPageBytes + kLogTrailerBytes && n % kLogPageBytes == 0;
    p.check("whole pages and a trailer", shaped);
    if (!shaped) return false;
    DecipherBuffer(content, static_cast<uint32_t>(n), kFileCipherKey);
    const size_t pages = (n - kLogTrailerBytes) / kLogPageBytes;
    const uint8_t* trailer = content + pages * kLogPageBytes;
    const bool crc = Crc16(content, pages * kLogPageBytes + kCrcAt) == LoadLe16(trailer + kCrcAt);
    p.check("CRC-16", crc);
    p.number("pages", static_cast<long long>(pages));
    p.number("pages announced by page 0",
             LoadLe16(content + acceptor::log_page::kPageCountAt) + acceptor::log_page::kPageCountBias);
    p.number("acceptor address", trailer[kAddressAt]);
    p.number("serial number", LoadLe32(trailer + kSerialAt));
    p.text("serial number text", TextField(trailer + kSerialTextAt, kSerialTextBytes));
    p.text("manufacturer", TextField(trailer + kManufacturerAt, kCategoryAt - kManufacturerAt));
    p.text("category", TextField(trailer + kCategoryAt, kBuildAt - kCategoryAt));
    p.text("build", TextField(trailer + kBuildAt, kRevisionAt - kBuildAt));
    p.text("revision", TextField(trailer + kRevisionAt, kWrittenAt - kRevisionAt));
    p.text("written", LocalDateTime(LoadLe32(trailer + kWrittenAt)));
    return crc;
}
