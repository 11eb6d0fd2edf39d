#include "coindata/data_paths.h"

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
