#include "coindata/files/data_paths.h"

#include "platform/text_encoding.h"

#include <algorithm>

namespace {
constexpr char kCoinStatFolder[] = ".\\Coins Stat\\";
constexpr char kCurrentFolder[] = ".\\";
} // namespace

std::string ArchivePath(const char* coinId) { return std::string(kCoinStatFolder) + coinId + ".coin"; }

std::string WeightsPath(const char* coinId) { return std::string(kCoinStatFolder) + coinId + ".aut"; }

std::string LogDumpPath(const std::string& name) { return std::string(kCurrentFolder) + name + ".tea"; }

std::string NativePath(const std::string& path) {
#ifdef _WIN32
    return path;
#else
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
#endif
}

std::string FileSystemName(const std::string& cp1251Name) {
#ifdef _WIN32
    return cp1251Name;
#else
    return platform::Cp1251ToUtf8(cp1251Name);
#endif
}
