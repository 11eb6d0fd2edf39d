#include "platform/port_open_failure.h"

#include <cerrno>

namespace platform {
namespace {

// Windows' error numbers, written here so that the table reads the same on
// every system (portable code never includes windows.h).
constexpr uint32_t kWinInvalidFunction = 1;
constexpr uint32_t kWinFileNotFound = 2;
constexpr uint32_t kWinPathNotFound = 3;
constexpr uint32_t kWinAccessDenied = 5; // a COM port another program holds
constexpr uint32_t kWinGenFailure = 31;
constexpr uint32_t kWinSharingViolation = 32;
constexpr uint32_t kWinSemTimeout = 121; // a USB adapter whose driver hangs
constexpr uint32_t kWinInvalidName = 123;
constexpr uint32_t kWinDeviceNotConnected = 1167;

std::string CauseText(const OpenFailure& f) {
    switch (f.cause) {
    case OpenCause::NoSuchPort: return "no such port";
    case OpenCause::PermissionDenied: return "permission denied";
    case OpenCause::InUse: return "in use by another program";
    case OpenCause::NotResponding: return "the adapter does not respond";
    case OpenCause::NotSerial: return "not a serial port";
    case OpenCause::Other: break;
    }
    return "cannot be opened";
}

std::string Remedy(const OpenFailure& f, const std::string& listCommand) {
    const std::string list = "`" + listCommand + "` lists the ports there are";
    switch (f.cause) {
    case OpenCause::NoSuchPort:
    case OpenCause::NotSerial: return list;
    case OpenCause::PermissionDenied:
        if (f.group.empty()) return "ask the administrator for read and write access to it";
        return "it belongs to group " + f.group + ": join it with `sudo usermod -aG " + f.group +
               " $USER`, then log in again";
    case OpenCause::InUse: return "close the program that holds it, then try again";
    case OpenCause::NotResponding: return "unplug the adapter and plug it in again";
    case OpenCause::Other: break;
    }
    return list;
}

} // namespace

OpenCause PosixOpenCause(uint32_t error) {
    switch (static_cast<int>(error)) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR: return OpenCause::NoSuchPort;
    case EACCES:
    case EPERM: return OpenCause::PermissionDenied;
    case EBUSY:
    case EAGAIN: return OpenCause::InUse; // flock's EWOULDBLOCK, where it is EAGAIN
    case EIO: return OpenCause::NotResponding;
    case ENOTTY: return OpenCause::NotSerial;
    default: break;
    }
#if defined(EWOULDBLOCK) && EWOULDBLOCK != EAGAIN
    if (static_cast<int>(error) == EWOULDBLOCK) return OpenCause::InUse;
#endif
    return OpenCause::Other;
}

OpenCause WindowsOpenCause(uint32_t error) {
    switch (error) {
    case kWinFileNotFound:
    case kWinPathNotFound:
    case kWinInvalidName: return OpenCause::NoSuchPort;
    case kWinAccessDenied:
    case kWinSharingViolation: return OpenCause::InUse;
    case kWinGenFailure:
    case kWinSemTimeout:
    case kWinDeviceNotConnected: return OpenCause::NotResponding;
    case kWinInvalidFunction: return OpenCause::NotSerial;
    default: return OpenCause::Other;
    }
}

std::string OpenFailureLine(const OpenFailure& failure, const std::string& listCommand) {
    std::string line = failure.port + ": " + CauseText(failure);
    if (failure.error != 0) line += " (error " + std::to_string(failure.error) + ")";
    return line + "; " + Remedy(failure, listCommand);
}

std::string NoReplyLine(const std::string& port, int address, uint32_t bitsPerSecond) {
    return "no reply from address " + std::to_string(address) + " at " + std::to_string(bitsPerSecond) +
           " bit/s on " + port + " (check cable, speed, address)";
}

} // namespace platform
