#include "platform/file_replace.h"

#include <windows.h>

namespace platform {
namespace {

// Puts what the system holds of the finished file on the disk.
bool FlushToDisk(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool flushed = FlushFileBuffers(h) != 0;
    const bool closed = CloseHandle(h) != 0;
    return flushed && closed;
}

} // namespace

// The content reaches the disk before the move, which itself is written
// through, so a power cut leaves the old file or the new one.
bool ReplaceFileWith(const std::string& source, const std::string& target) {
    return FlushToDisk(source) &&
           MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

} // namespace platform
