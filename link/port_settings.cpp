#include "link/port_settings.h"

#include "link/run_environment.h"
#include "platform/port_names.h"

#include <cstring>

namespace {

constexpr uint32_t kFallbackSpeed = 9600;
constexpr int kFirstScannedPort = 0;
constexpr int kLastScannedPort = 15;
constexpr int32_t kInitialSpeedIndex = 6;

// Copies a name that is known to fit, always terminated.
void CopyPortName(char (&to)[kPortNameChars + 1], const std::string& from) {
    std::memset(to, 0, sizeof to);
    std::memcpy(to, from.data(), from.size());
}

} // namespace

const uint32_t SpeedTable[kSpeedCount] = {2400, 4800, 9600, 14400, 19200, 38400, 57600, 76800, 115200, 230400};

uint32_t SpeedForIndex(int32_t index) {
    if (index < 0 || static_cast<size_t>(index) >= kSpeedCount) return kFallbackSpeed;
    return SpeedTable[index];
}

ComPortList ComPortTable;
char szPortName[kPortNameChars + 1] = "COM6";
int32_t iPortIndex = 1;
int32_t iSpeedIndex = kInitialSpeedIndex;
uint32_t dwBaudRate = SpeedTable[kInitialSpeedIndex];

bool SetPortName(const std::string& name) {
    if (name.size() > kPortNameChars) return false;
    CopyPortName(szPortName, name);
    return true;
}

std::vector<std::string> ScanComPorts(std::vector<platform::PortName>* found, std::vector<RefusedPort>* refused) {
    ComPortTable = ComPortList{};
    if (found != nullptr) found->clear();
    if (refused != nullptr) refused->clear();
    std::vector<std::string> display;
    for (const auto& candidate : platform::SerialPortCandidates(kFirstScannedPort, kLastScannedPort)) {
        if (static_cast<size_t>(ComPortTable.count) >= kMaxComPorts) break;
        // A name cut to fit the table would open another device: leave it out.
        if (candidate.device.size() > kPortNameChars) continue;
        uint32_t error = 0;
        auto port = CurrentRunEnvironment().openPort(candidate.device, error);
        if (!port) { // absent, not the user's to open, or held by another program or by a run
            if (refused != nullptr) refused->push_back({candidate, error});
            continue;
        }
        port->Close();
        CopyPortName(ComPortTable.entries[ComPortTable.count], candidate.device);
        ++ComPortTable.count;
        display.push_back(candidate.display);
        if (found != nullptr) found->push_back(candidate);
    }
    return display;
}

void ChooseStartupPort() {
    if (ComPortTable.count > 0) {
        if (iPortIndex > ComPortTable.count - 1) iPortIndex = ComPortTable.count - 1;
        // A negative index from a damaged configuration would address no entry.
        if (iPortIndex < 0) iPortIndex = 0;
        SetPortName(ComPortTable.entries[iPortIndex]);
    }
    dwBaudRate = SpeedForIndex(iSpeedIndex);
}
