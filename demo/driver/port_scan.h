// The port search: which serial port has a device at a given address.
#pragma once

#include "demo/driver/port_setup.h"
#include "platform/port_names.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

constexpr int kFirstScannedPort = 1;
constexpr int kLastScannedPort = 20;

// 1 when a device at `address` acknowledged a simple poll from the host on
// this configured port, else 0.
int ProbePort(platform::SerialPort& port, uint8_t address);

// COM1..COM20 (on other systems the serial devices that exist, numbered alike).
std::vector<platform::PortName> DemoPortCandidates();

struct ScanOptions {
    std::function<std::vector<platform::PortName>()> listPorts = DemoPortCandidates;
    PortOpener openPort = OpenDemoPort;
    platform::Timeouts limits = DemoPortTimeouts();
};

// Tries the listed ports in order and reports each step as a status line.
// Returns the number of the port that answered, or 0.
int ScanPorts(uint8_t address, const std::function<void(const std::string&)>& status, const ScanOptions& options = {});
