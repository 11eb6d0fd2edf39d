#include "platform/port_open_failure.h"

#include <cerrno>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace platform {
namespace {

constexpr size_t kGroupBufferStart = 1024;
constexpr size_t kGroupBufferMost = 1 << 20;

std::string GroupName(gid_t gid) {
    // getgrgid_r, not getgrgid: a console's other thread may look up too.
    for (size_t size = kGroupBufferStart; size <= kGroupBufferMost; size *= 2) {
        std::vector<char> buffer(size);
        group entry{};
        group* found = nullptr;
        const int rc = ::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found);
        if (rc == ERANGE) continue;
        return rc == 0 && found != nullptr && found->gr_name != nullptr ? std::string(found->gr_name) : std::string();
    }
    return "";
}

} // namespace

std::string OwningGroup(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? GroupName(st.st_gid) : std::string();
}

std::string JoinableGroup(const std::string& path) {
    constexpr gid_t kSuperuserGroup = 0;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || st.st_gid == kSuperuserGroup) return "";
    const bool readWrite = (st.st_mode & S_IRGRP) != 0 && (st.st_mode & S_IWGRP) != 0;
    return readWrite ? GroupName(st.st_gid) : std::string();
}

OpenFailure DescribeOpenFailure(const std::string& port, const std::string& device, uint32_t error) {
    OpenFailure f;
    f.port = port;
    f.error = error;
    f.cause = device.empty() ? OpenCause::NoSuchPort : PosixOpenCause(error);
    if (f.cause == OpenCause::PermissionDenied) f.group = JoinableGroup(device);
    return f;
}

} // namespace platform
