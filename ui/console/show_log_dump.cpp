// `ducat show` for a log dump: the acceptor's log pages and a trailer with
// the acceptor's identity, enciphered with the file key.
#include "coindata/files/enciphered_file.h"
#include "coindata/files/log_dump_file.h"
#include "link/acceptor_protocol.h"
#include "link/checksums.h"
#include "ui/console/file_show_parts.h"

bool ShowLogDumpFile(uint8_t* content, size_t n, FieldPrinter& p) {
    const bool shaped = n >= kLogPageBytes + kLogTrailerBytes && n % kLogPageBytes == 0;
    p.check("whole pages and a trailer", shaped);
    if (!shaped) return false;
    DecipherFileContent(content, n);
    const size_t pages = (n - kLogTrailerBytes) / kLogPageBytes;
    const bool crc = LogDumpCrcMatches(content, pages * kLogPageBytes);
    p.check("CRC-16", crc);
    p.number("pages", static_cast<long long>(pages));
    p.number("pages announced by page 0",
             LoadLe16(content + acceptor::log_page::kPageCountAt) + acceptor::log_page::kPageCountBias);
    const LogDumpTrailer trailer = DecodeLogDumpTrailer(content + pages * kLogPageBytes);
    p.number("acceptor address", trailer.bAddress);
    p.number("serial number", trailer.dwSerial);
    p.text("serial number text", trailer.serialText);
    p.text("manufacturer", trailer.manufacturer);
    p.text("category", trailer.category);
    p.text("build", trailer.build);
    p.text("revision", trailer.revision);
    p.text("written", LocalDateTime(trailer.tWritten));
    return crc;
}
