#include "ui/console/console_settings.h"

#include "coindata/files/config_file.h"
#include "coindata/files/data_paths.h"
#include "link/command_mailbox.h"
#include "link/port_settings.h"
#include "platform/port_names.h"

#include <fstream>

namespace {

bool ConfigExists() { return static_cast<bool>(std::ifstream(NativePath(kConfigFileName), std::ios::binary)); }

// A number, bare or as "COMn", names COM port n ("\\.\COM5" on Windows; on
// Linux the n-th serial device). A number that names no port here stays
// "COMn": its run then says that there is no such port, and how to list them.
std::string DeviceName(const std::string& port) {
    int number = 0;
    if (!platform::ReadComPortNumber(port, number) || number == 0) return port;
    const std::string device = platform::ComPortDevice(number);
    return device.empty() ? "COM" + std::to_string(number) : device;
}

bool TakePortOption(const std::string& port, std::string& error) {
    const std::string name = DeviceName(port);
    if (name.empty() || name.size() > kPortNameChars) {
        error = "a port name longer than " + std::to_string(kPortNameChars) + " characters: " + port;
        return false;
    }
    return SetPortName(name);
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
        // No port opened: a run would try a name the scan never found.
        if (ComPortTable.count == 0) SetPortName("");
    } else if (!TakePortOption(port, error)) {
        return false;
    }
    dwBaudRate = options.speed != 0 ? options.speed : SpeedForIndex(iSpeedIndex);
    if (options.address >= 0) Mailbox.bDeviceAddress.store(static_cast<uint32_t>(options.address));
    return true;
}
