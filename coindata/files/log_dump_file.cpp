#include "coindata/files/log_dump_file.h"

#include "coindata/files/data_file_writer.h"
#include "coindata/files/data_paths.h"
#include "coindata/files/enciphered_file.h"
#include "coindata/files/file_messages.h"
#include "coindata/files/file_result.h"
#include "coindata/files/log_dump_name.h"
#include "coindata/records/device_info.h"
#include "link/checksums.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

namespace {

namespace layout = log_dump_trailer;

static_assert(sizeof(DeviceInfo::szSerial) >= layout::kSerialTextBytes &&
                  sizeof(DeviceInfo::szManufacturer) >= layout::kManufacturerBytes &&
                  sizeof(DeviceInfo::szCategory) >= layout::kCategoryBytes &&
                  sizeof(DeviceInfo::szBuild) >= layout::kBuildBytes &&
                  sizeof(DeviceInfo::szRevision) >= layout::kRevisionBytes,
              "the identity's texts fill their trailer fields");

void PutText(uint8_t* trailer, size_t at, const char* text, size_t width) { std::memcpy(trailer + at, text, width); }

// A text of at most `width` bytes, cut at its first NUL.
std::string TextAt(const uint8_t* trailer, size_t at, size_t width) {
    const uint8_t* begin = trailer + at;
    const uint8_t* end = std::find(begin, begin + width, 0);
    return std::string(reinterpret_cast<const char*>(begin), static_cast<size_t>(end - begin));
}

// The identity as held in memory, the time of writing, zeros up to the CRC.
void BuildTrailer(const DeviceInfo& info, uint32_t now, uint8_t* trailer) {
    std::memset(trailer, 0, layout::kCrcAt);
    trailer[layout::kAddressAt] = info.bAddress;
    StoreLe32(trailer + layout::kSerialAt, info.dwSerial);
    PutText(trailer, layout::kSerialTextAt, info.szSerial, layout::kSerialTextBytes);
    PutText(trailer, layout::kManufacturerAt, info.szManufacturer, layout::kManufacturerBytes);
    PutText(trailer, layout::kCategoryAt, info.szCategory, layout::kCategoryBytes);
    PutText(trailer, layout::kBuildAt, info.szBuild, layout::kBuildBytes);
    PutText(trailer, layout::kRevisionAt, info.szRevision, layout::kRevisionBytes);
    StoreLe32(trailer + layout::kWrittenAt, now);
}

bool WholePages(const uint8_t* pPages, uint32_t nBytes) {
    return pPages != nullptr && nBytes % kLogPageBytes == 0 &&
           nBytes <= std::numeric_limits<uint32_t>::max() - kLogTrailerBytes;
}

} // namespace

LogDumpTrailer DecodeLogDumpTrailer(const uint8_t* trailer) {
    LogDumpTrailer t;
    t.bAddress = trailer[layout::kAddressAt];
    t.dwSerial = LoadLe32(trailer + layout::kSerialAt);
    t.serialText = TextAt(trailer, layout::kSerialTextAt, layout::kSerialTextBytes);
    t.manufacturer = TextAt(trailer, layout::kManufacturerAt, layout::kManufacturerBytes);
    t.category = TextAt(trailer, layout::kCategoryAt, layout::kCategoryBytes);
    t.build = TextAt(trailer, layout::kBuildAt, layout::kBuildBytes);
    t.revision = TextAt(trailer, layout::kRevisionAt, layout::kRevisionBytes);
    t.tWritten = LoadLe32(trailer + layout::kWrittenAt);
    return t;
}

bool LogDumpCrcMatches(const uint8_t* plain, size_t pageBytes) {
    return Crc16(plain, pageBytes + layout::kCrcAt) == LoadLe16(plain + pageBytes + layout::kCrcAt);
}

int WriteLogDump(uint8_t* pPages, uint32_t nBytes, uint32_t tWritten) {
    const DeviceInfo info = GetDeviceInfo();
    const std::string name = LogDumpName(info.szSerial);
    const std::string path = LogDumpPath(name); // as the message shows it
    const std::string file = LogDumpPath(FileSystemName(name));
    const uint32_t total = nBytes + static_cast<uint32_t>(kLogTrailerBytes);
    bool written = false;
    if (WholePages(pPages, nBytes)) {
        uint8_t* trailer = pPages + nBytes;
        BuildTrailer(info, tWritten, trailer);
        StoreLe16(trailer + layout::kCrcAt, Crc16(pPages, nBytes + layout::kCrcAt));
        EncipherFileContent(pPages, total);
        written = WriteDataFile(file, pPages, total);
    }
    if (written) return kFileOk;
    ShowWriterMessage(WithPath(kWriteErrorText, path), kWriteCaption);
    return kFileCannotOpen;
}
