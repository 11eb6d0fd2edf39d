// `ducat show` for a log dump: the acceptor's log pages and a trailer with
// the acceptor's identity, enciphered with the file key.
#include "coindata/files/enciphered_file.h"
#include "coindata/files/log_dump_file.h"
#include "commands/protocol/acceptor_layouts.h"
#include "link/checksums.h"
#include "ui/console/file_show_parts.h"

bool ShowLogDumpFile(uint8_t* content, size_t n, FieldPrinter& p) {
    const bool shaped = n >= kLogPageBytes + kLogTrailerBytes && n % kLogPageBytes == 0;
    p.Check("whole pages and a trailer", shaped);
    if (!shaped) return false;
    DecipherFileContent(content, n);
    const size_t pages = (n - kLogTrailerBytes) / kLogPageBytes;
    const bool crc = LogDumpCrcMatches(content, pages * kLogPageBytes);
    p.Check("CRC-16", crc);
    p.Number("pages", static_cast<long long>(pages));
    p.Number("pages announced by page 0",
             LoadLe16(content + acceptor::log_page::kPageCountAt) + acceptor::log_page::kPageCountBias);
    const LogDumpTrailer trailer = DecodeLogDumpTrailer(content + pages * kLogPageBytes);
    p.Number("acceptor address", trailer.bAddress);
    p.Number("serial number", trailer.dwSerial);
    p.Text("serial number text", trailer.serialText);
    p.Text("manufacturer", trailer.manufacturer);
    p.Text("category", trailer.category);
    p.Text("build", trailer.build);
    p.Text("revision", trailer.revision);
    p.Text("written", LocalDateTime(trailer.tWritten));
    return crc;
}
