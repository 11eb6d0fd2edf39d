#include "platform/port_names.h"

namespace platform {

std::string DescribePort(const PortName& port) {
    std::string line = "COM" + std::to_string(port.number) + "  " + port.device;
    if (!port.target.empty()) line += "  (" + port.target + ")";
    return line;
}

} // namespace platform
