#include "coindata/files/data_file_reader.h"

#include "coindata/files/checksum_envelope.h"
#include "coindata/files/data_paths.h"
#include "coindata/files/file_result.h"
#include "link/checksums.h"

#include <cstring>

namespace {

constexpr size_t kChunkBytes = 8 * 1024; // also runs on the serial service thread

struct Scan {
    bool ok = false;
    uint64_t size = 0;
    int32_t contentSum = 0;
    uint8_t tail[kEnvelopeBytes] = {}; // the last four bytes read
};

// Sums every byte, then takes the last four back out: they are the stored
// sum, and the file's length is known only at its end.
Scan ScanFile(std::FILE* file) {
    Scan scan;
    EnvelopeSum sum;
    uint8_t chunk[kChunkBytes];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        sum.Add(chunk, got);
        scan.size += got;
        if (got >= kEnvelopeBytes) {
            std::memcpy(scan.tail, chunk + got - kEnvelopeBytes, kEnvelopeBytes);
        } else {
            std::memmove(scan.tail, scan.tail + got, kEnvelopeBytes - got);
            std::memcpy(scan.tail + kEnvelopeBytes - got, chunk, got);
        }
    }
    if (std::ferror(file) || scan.size < kEnvelopeBytes) return scan;
    sum.Remove(scan.tail, kEnvelopeBytes);
    scan.contentSum = sum.Value();
    scan.ok = true;
    return scan;
}

} // namespace

int DataFileReader::Open(const std::string& path) {
    file_.reset(std::fopen(NativePath(path).c_str(), "rb"));
    contentSize_ = 0;
    position_ = 0;
    if (!file_) return kFileCannotOpen;
    const Scan scan = ScanFile(file_.get());
    if (!scan.ok || scan.contentSum != LoadEnvelope(scan.tail)) return kFileDamaged;
    std::rewind(file_.get());
    contentSize_ = scan.size - kEnvelopeBytes;
    return kFileOk;
}

bool DataFileReader::Read(uint8_t* out, size_t n) {
    if (!file_ || n > Remaining()) return false;
    if (std::fread(out, 1, n, file_.get()) != n) return false;
    position_ += n;
    return true;
}

bool DataFileReader::ReadCount(size_t& count, size_t capacity, size_t recordBytes) {
    uint8_t bytes[4];
    if (!Read(bytes, sizeof bytes)) return false;
    const int32_t stored = static_cast<int32_t>(LoadLe32(bytes));
    if (stored < 0 || static_cast<uint64_t>(stored) > capacity) return false;
    if (static_cast<uint64_t>(stored) * recordBytes > Remaining()) return false;
    count = static_cast<size_t>(stored);
    return true;
}
