// Candidate serial device names, in a stable order, for the port scans.
#pragma once

#include <string>
#include <vector>

namespace platform {

struct PortName {
    std::string device;  // what OpenSerialPort takes ("\\.\COM3", "/dev/ttyUSB0")
    std::string display; // what a list shows ("COM3", "ttyUSB0")
};

// The device name of COM port n: "\\.\COM%d" on Windows. On Linux the n-th
// serial device that exists (counting from 1), or "" when there is none.
std::string ComPortDevice(int n);

// Candidates for a scan of COM(first)..COM(last) on Windows. On Linux the
// serial devices that exist: first the names listed in the CCTALK_PORTS
// environment variable (separated by ':'), then /dev/ttyUSB*, /dev/ttyACM*
// and /dev/ttyS* in numeric order; at most last - first + 1 of them.
std::vector<PortName> SerialPortCandidates(int first, int last);

} // namespace platform
