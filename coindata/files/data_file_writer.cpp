#include "coindata/files/data_file_writer.h"

#include "coindata/files/checksum_envelope.h"
#include "coindata/files/data_file_reader.h"
#include "coindata/files/data_paths.h"
#include "coindata/files/file_result.h"
#include "platform/file_replace.h"

#include <cstdio>

namespace {

constexpr char kTemporarySuffix[] = ".tmp";

bool WriteWithEnvelope(const std::string& path, const uint8_t* content, size_t n) {
    std::FILE* file = std::fopen(NativePath(path).c_str(), "wb");
    if (file == nullptr) return false;
    uint8_t trailer[kEnvelopeBytes];
    StoreEnvelope(trailer, ContentSum(content, n));
    bool ok = std::fwrite(content, 1, n, file) == n;
    ok = ok && std::fwrite(trailer, 1, sizeof trailer, file) == sizeof trailer;
    ok = ok && std::fflush(file) == 0;
    // A failed close can mean the last buffered bytes never reached the disk.
    const bool closed = std::fclose(file) == 0;
    return ok && closed;
}

// The file as written reads back whole, with its checksum.
bool ReadsBack(const std::string& path, size_t n) {
    DataFileReader reader;
    return reader.Open(path) == kFileOk && reader.ContentSize() == n;
}

} // namespace

std::string TemporaryPathFor(const std::string& path) { return path + kTemporarySuffix; }

bool WriteDataFile(const std::string& path, const uint8_t* content, size_t n) {
    const std::string temporary = TemporaryPathFor(path);
    const bool done = WriteWithEnvelope(temporary, content, n) && ReadsBack(temporary, n) &&
                      platform::ReplaceFileWith(NativePath(temporary), NativePath(path));
    if (!done) std::remove(NativePath(temporary).c_str());
    return done;
}
