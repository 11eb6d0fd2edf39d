#include "demo/driver/port_scan.h"

#include "demo/driver/cct_protocol.h"

#include <cstdio>

namespace {

// A line that never falls silent is not worth waiting for.
constexpr int kMaxDrainedBytes = 1024;

void DrainInput(platform::SerialPort& port) {
    uint8_t byte = 0;
    size_t got = 0;
    for (int i = 0; i < kMaxDrainedBytes; ++i) {
        if (!port.Read(&byte, 1, got) || got == 0) return;
    }
}

std::string PortLine(const char* format, int n) {
    char line[48];
    std::snprintf(line, sizeof line, format, n);
    return line;
}

} // namespace

int ProbePort(platform::SerialPort& port, uint8_t address) {
    DrainInput(port);
    uint8_t poll[kCctFrameOverhead] = {address, 0, HOST_ADDRESS, kHdrSimplePoll, 0};
    poll[kCctData] = CctChecksum(poll, kCctData);
    size_t written = 0;
    if (!port.Write(poll, sizeof poll, written) || written != sizeof poll) return 0;

    uint8_t echo[sizeof poll];
    size_t got = 0;
    if (!port.Read(echo, written, got)) return 0;

    const uint8_t expected[kCctHeadLength] = {HOST_ADDRESS, 0, address, kHdrReply,
                                               static_cast<uint8_t>(0xFF - address)};
    uint8_t reply[kCctHeadLength];
    if (!port.Read(reply, sizeof reply, got) || got != sizeof reply) return 0;
    for (size_t i = 0; i < sizeof reply; ++i) {
        if (reply[i] != expected[i]) return 0;
    }
    return 1;
}

std::vector<platform::PortName> DemoPortCandidates() {
    return platform::SerialPortCandidates(kFirstScannedPort, kLastScannedPort);
}

int ScanPorts(uint8_t address, const std::function<void(const std::string&)>& status, const ScanOptions& options) {
    for (const auto& candidate : options.listPorts()) {
        const int n = candidate.number;
        status(PortLine("scanning COM%d", n));
        auto port = options.openPort(candidate.device);
        if (!port) continue;
        if (ConfigureDemoPort(*port, options.limits) && ProbePort(*port, address) == 1) {
            status(PortLine("device found on COM%d", n));
            port->Close();
            return n;
        }
        port->Close();
    }
    status("no device found");
    return 0;
}
