#include "ui/console/port_notes.h"

#include "link/command_mailbox.h"
#include "platform/port_open_failure.h"

namespace {

// The status line of an exchange whose reply head did not come at all
// (-1 bytes): the device is silent. The text is the program's own.
constexpr char kNoHeadLine[] = "C_T: ***** ошибка приема размера пакета 255: - -1 байт";

// How the line of a port that did not open begins.
constexpr char kOpenFailedLineStart[] = "COM_Thread:  Невозможно открыть порт ";

// Windows' device prefix says nothing to the operator: "\\.\COM9" is COM9.
constexpr char kDevicePrefix[] = "\\\\.\\";

std::string PortShown(const std::string& name) {
    return name.rfind(kDevicePrefix, 0) == 0 ? name.substr(sizeof kDevicePrefix - 1) : name;
}

} // namespace

bool IsOpenFailureLine(const std::string& cp1251Line) { return cp1251Line.rfind(kOpenFailedLineStart, 0) == 0; }

std::string OpenFailureNote(const PortOpenFailureRecord& failure) {
    return platform::OpenFailureLine(platform::DescribeOpenFailure(PortShown(failure.port), failure.port, failure.error),
                                     kPortListCommand);
}

std::string StatusLineNote(const std::string& cp1251Line) {
    if (cp1251Line != kNoHeadLine) return "";
    return platform::NoReplyLine(PortShown(szPortName), static_cast<int>(Mailbox.bDeviceAddress.load()), dwBaudRate);
}

std::vector<std::string> RefusedPortLines(const std::vector<RefusedPort>& refused) {
    std::vector<std::string> lines;
    for (const RefusedPort& r : refused) {
        const platform::OpenFailure failure = platform::DescribeOpenFailure(r.port.device, r.port.device, r.error);
        if (failure.cause == platform::OpenCause::NoSuchPort) continue;
        lines.push_back("COM" + std::to_string(r.port.number) + "  " + platform::OpenFailureLine(failure, kPortListCommand));
    }
    return lines;
}
