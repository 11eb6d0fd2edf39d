#include "platform/file_replace.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace platform {
namespace {

// The folder that holds `path`, as open() takes it.
std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Puts what the system holds of `path` on the disk.
bool Sync(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    return synced && closed;
}

} // namespace

// The new content reaches the disk before its name does, so that a power
// cut leaves the old file or the new one, never an empty one. rename()
// replaces an existing target atomically.
bool ReplaceFileWith(const std::string& source, const std::string& target) {
    if (!Sync(source, O_WRONLY)) return false;
    if (std::rename(source.c_str(), target.c_str()) != 0) return false;
    // The file is in place now; a folder the file system cannot sync
    // (some refuse directories) leaves it to the system's own flush.
    (void)Sync(FolderOf(target), O_RDONLY | O_DIRECTORY);
    return true;
}

} // namespace platform
