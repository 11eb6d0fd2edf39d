#include "coindata/log_dump_file.h"

#include "coindata/data_file_writer.h"
#include "coindata/data_paths.h"
#include "coindata/device_info.h"
#include "coindata/enciphered_file.h"
#include "coindata/field_codec.h"
#include "coindata/file_messages.h"
#include "coindata/file_result.h"
#include "coindata/log_dump_name.h"
#include "commands/block_cipher.h"
#include "link/checksums.h"
#include "platform/clock.h"

#include <limits>
#include <string>

namespace {

constexpr size_t kManufacturerChars = 8;
constexpr size_t kCategoryChars = 13;
constexpr size_t kBuildChars = 16;
constexpr size_t kTrailerCrcOffset = 254;
constexpr size_t kTrailerUsedBytes = 84; // bytes 84-253 are zero

// The identity as held in memory, the time of writing, zeros up to the CRC.
void BuildTrailer(const DeviceInfo& info, uint32_t now, uint8_t* trailer) {
    FieldWriter writer(trailer, kTrailerCrcOffset);
    writer.Field(info.bAddress);
    writer.Field(info.dwSerial);
    writer.Field(info.szSerial);
    writer.Bytes(reinterpret_cast<const uint8_t*>(info.szManufacturer), kManufacturerChars);
    writer.Bytes(reinterpret_cast<const uint8_t*>(info.szCategory), kCategoryChars);
    writer.Bytes(reinterpret_cast<const uint8_t*>(info.szBuild), kBuildChars);
    writer.Field(info.szRevision);
    writer.Field(now);
    writer.Zeros(kTrailerCrcOffset - kTrailerUsedBytes);
}

bool WholePages(const uint8_t* pPages, uint32_t nBytes) {
    return pPages != nullptr && nBytes % kLogPageBytes == 0 &&
           nBytes <= std::numeric_limits<uint32_t>::max() - kLogTrailerBytes;
}

} // namespace

int WriteLogDump(uint8_t* pPages, uint32_t nBytes) {
    const DeviceInfo info = GetDeviceInfo();
    const std::string path = LogDumpPath(LogDumpName(info.szSerial));
    const uint32_t total = nBytes + static_cast<uint32_t>(kLogTrailerBytes);
    bool written = false;
    if (WholePages(pPages, nBytes)) {
        uint8_t* trailer = pPages + nBytes;
        BuildTrailer(info, platform::CalendarTime32(), trailer);
        StoreLe16(trailer + kTrailerCrcOffset, Crc16(pPages, nBytes + kTrailerCrcOffset));
        EncipherBuffer(pPages, total, kFileCipherKey);
        written = WriteDataFile(path, pPages, total);
    }
    if (written) return kFileOk;
    ShowWriterMessage(WithPath(kWriteErrorText, path), kWriteCaption);
    return kFileCannotOpen;
}
