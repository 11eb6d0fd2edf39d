#include "ui/console/console_settings.h"

#include "coindata/config_file.h"
#include "coindata/data_paths.h"
#include "link/command_mailbox.h"
#include "link/port_settings.h"

#include <cstring>
#include <fstream>

namespace {

bool ConfigExists() { return static_cast<bool>(std::ifstream(NativePath(kConfigFileName), std::ios::binary)); }

bool SetPortName(const std::string& name, std::string& error) {
    if (name.empty() || name.size() > kPortNameChars) {
        error = "a port name has 1 to " + std::to_string(kPortNameChars) + " characters: " + name;
        return false;
    }
    std::memset(szPortName, 0, sizeof szPortName);
    std::memcpy(szPortName, name.data(), name.size());
    return true;
}

} // namespace

bool ApplyConsoleSettings(const ConsoleOptions& options, const std::string& simPort, std::string& error) {
    // Missing, the file is simply not used: the window's "not found" box
    // is for the window's start.
    if (ConfigExists()) ReadConfig();
    const std::string port = !simPort.empty() ? simPort : options.port;
    if (port.empty()) {
        ScanComPorts();
        ChooseStartupPort();
    } else if (!SetPortName(port, error)) {
        return false;
    }
    dwBaudRate = options.speed != 0 ? options.speed : SpeedForIndex(iSpeedIndex);
    if (options.address >= 0) Mailbox.bDeviceAddress.store(static_cast<uint32_t>(options.address));
    return true;
}
