// The port search: which serial port has a device at a given address.
#pragma once

#include "demo/port_setup.h"

#include <cstdint>
#include <functional>
#include <string>

constexpr int kFirstScannedPort = 1;
constexpr int kLastScannedPort = 20;

// 1 when a device at `address` acknowledged a simple poll from the host on
// this configured port, else 0.
int ProbePort(platform::SerialPort& port, uint8_t address);

struct ScanOptions {
    PortOpener openPort = OpenDemoPort;
    platform::Timeouts limits = DemoPortTimeouts();
};

// Tries COM1..COM20 in order (on other systems the serial devices that
// exist, in the same numbering) and reports each step as a status line.
// Returns the number of the port that answered, or 0.
int ScanPorts(uint8_t address, const std::function<void(const std::string&)>& status, const ScanOptions& options = {});
