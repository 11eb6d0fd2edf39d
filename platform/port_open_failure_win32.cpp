#include "platform/port_open_failure.h"

namespace platform {

// Windows grants a COM port to whoever may log on: there is no group to join.
std::string OwningGroup(const std::string& /*path*/) { return ""; }
std::string JoinableGroup(const std::string& /*path*/) { return ""; }

OpenFailure DescribeOpenFailure(const std::string& port, const std::string& device, uint32_t error) {
    OpenFailure f;
    f.port = port;
    f.error = error;
    f.cause = device.empty() ? OpenCause::NoSuchPort : WindowsOpenCause(error);
    return f;
}

} // namespace platform
