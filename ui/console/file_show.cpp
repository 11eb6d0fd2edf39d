#include "ui/console/file_show.h"

#include "coindata/files/checksum_envelope.h"
#include "coindata/files/coin_description_file.h"
#include "link/checksums.h"
#include "platform/text_encoding.h"
#include "ui/coin_list_rows.h"
#include "ui/console/file_show_parts.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <vector>

namespace {

// Larger than any file of the program (a log dump of 65537 pages).
constexpr uint64_t kMaxFileBytes = 32u << 20;

enum class Kind { Config, ReferenceBook, Archive, Weights, Enciphered, Unknown };

bool EndsWith(const std::string& s, const char* suffix) {
    const size_t n = std::strlen(suffix);
    return s.size() >= n && s.compare(s.size() - n, n, suffix) == 0;
}

Kind KindOf(const std::string& path) {
    if (EndsWith(path, ".cnf")) return Kind::Config;
    if (EndsWith(path, ".ref")) return Kind::ReferenceBook;
    if (EndsWith(path, ".coin")) return Kind::Archive;
    if (EndsWith(path, ".aut")) return Kind::Weights;
    if (EndsWith(path, ".tea")) return Kind::Enciphered;
    return Kind::Unknown;
}

// The whole file, unless it is missing or larger than any data file.
bool ReadWhole(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<uint64_t>(size) > kMaxFileBytes) {
        error = path + " is larger than any data file";
        return false;
    }
    bytes.resize(static_cast<size_t>(size));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), size);
    if (!in) error = "cannot read " + path;
    return static_cast<bool>(in);
}

} // namespace

void FieldPrinter::Text(const char* name, const std::string& value) {
    std::fprintf(out_, "%s: %s\n", name, platform::Cp1251ToTerminal(value).c_str());
}

void FieldPrinter::Number(const char* name, long long value) { std::fprintf(out_, "%s: %lld\n", name, value); }

void FieldPrinter::Check(const char* name, bool holds) { std::fprintf(out_, "%s: %s\n", name, holds ? "holds" : "WRONG"); }

void FieldPrinter::Heading(const std::string& value) {
    std::fprintf(out_, "-- %s\n", platform::Cp1251ToTerminal(value).c_str());
}

bool ShowCount(const uint8_t* content, size_t n, size_t recordBytes, size_t capacity, size_t& count,
               FieldPrinter& p) {
    count = 0;
    if (n < 4) {
        p.Text("count", "missing");
        return false;
    }
    const int32_t stored = static_cast<int32_t>(LoadLe32(content));
    p.Number("count", stored);
    const size_t held = (n - 4) / recordBytes;
    const bool fits = stored >= 0 && static_cast<size_t>(stored) <= capacity && static_cast<size_t>(stored) == held &&
                      (n - 4) % recordBytes == 0;
    p.Check("count matches the records held", fits);
    count = stored >= 0 ? std::min(static_cast<size_t>(stored), held) : 0;
    return fits;
}

std::string LocalDateTime(int64_t seconds) {
    std::string text;
    return FormatLocalDayTime(seconds, true, text) ? text : "?";
}

bool ShowDataFile(const std::string& path, std::FILE* out) {
    std::vector<uint8_t> file;
    std::string error;
    if (!ReadWhole(path, file, error)) {
        std::fprintf(out, "%s\n", error.c_str());
        return false;
    }
    FieldPrinter p(out);
    p.Number("size", static_cast<long long>(file.size()));
    const bool checksum = EnvelopeMatches(file.data(), file.size());
    p.Check("checksum", checksum);
    const size_t n = file.size() < kEnvelopeBytes ? 0 : file.size() - kEnvelopeBytes;
    bool holds = true;
    switch (KindOf(path)) {
    case Kind::Config: holds = ShowConfigFile(file.data(), n, p); break;
    case Kind::ReferenceBook: holds = ShowReferenceBookFile(file.data(), n, p); break;
    case Kind::Archive: holds = ShowArchiveFile(file.data(), n, p); break;
    case Kind::Weights: holds = ShowWeightsFile(file.data(), n, p); break;
    case Kind::Enciphered:
        holds = file.size() == kCoinDescriptionFileBytes ? ShowCoinDescriptionFile(file.data(), n, p)
                                                         : ShowLogDumpFile(file.data(), n, p);
        break;
    case Kind::Unknown:
        std::fprintf(out, "not a data file of Ducat Console (.cnf .ref .coin .aut .tea)\n");
        return false;
    }
    return checksum && holds;
}
