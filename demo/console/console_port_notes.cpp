#include "demo/console/console_port_notes.h"

#include "demo/driver/port_setup.h"
#include "platform/port_open_failure.h"

namespace {

constexpr char kListCommand[] = "pollbench search";

} // namespace

std::string PortForMessages(const CCctDriver& driver, const PollbenchArgs& args) {
    if (args.portNumber == 0) return driver.PortDevice();
    const std::string com = "COM" + std::to_string(args.portNumber);
    const std::string device = driver.PortDevice();
    // Windows' own name ("\\.\COM3") says no more than the number.
    const bool same = device.size() >= com.size() && device.compare(device.size() - com.size(), com.size(), com) == 0;
    return device.empty() || same ? com : com + " (" + device + ")";
}

std::string PortOpenFailureLine(const CCctDriver& driver, const PollbenchArgs& args) {
    if (!driver.LastOpenFailed()) return "";
    const platform::OpenFailure failure =
        platform::DescribeOpenFailure(PortForMessages(driver, args), driver.PortDevice(), driver.LastOpenError());
    return platform::OpenFailureLine(failure, kListCommand);
}

std::string DeviceSilentLine(const CCctDriver& driver, const PollbenchArgs& args) {
    return platform::NoReplyLine(PortForMessages(driver, args), args.address, kDemoBaudRate);
}

std::string UnreachableLine(const CCctDriver& driver, const PollbenchArgs& args) {
    const std::string port = PortOpenFailureLine(driver, args);
    return port.empty() ? DeviceSilentLine(driver, args) : port;
}
