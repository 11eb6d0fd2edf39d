#include "platform/port_names.h"

#include <cstdio>

namespace platform {

std::string ComPortDevice(int n) {
    char name[32];
    std::snprintf(name, sizeof name, "\\\\.\\COM%d", n);
    return name;
}

std::vector<PortName> SerialPortCandidates(int first, int last) {
    std::vector<PortName> names;
    for (int n = first; n <= last; ++n) {
        char display[16];
        std::snprintf(display, sizeof display, "COM%d", n);
        names.push_back({ComPortDevice(n), display, n, std::string()});
    }
    return names;
}

} // namespace platform
