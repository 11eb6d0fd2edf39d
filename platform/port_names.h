// Candidate serial device names, in a stable order, for the port scans.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#ifndef _WIN32
#include <climits>
#endif

namespace platform {

// The longest device name a port may have, without the terminating zero:
// "\\.\COM%d" fits in 19 characters on Windows; elsewhere a name is a
// path, and may be as long as the system allows.
#ifdef _WIN32
constexpr size_t kMaxPortNameChars = 19;
#else
constexpr size_t kMaxPortNameChars = PATH_MAX - 1;
#endif

struct PortName {
    std::string device;  // what OpenSerialPort takes ("\\.\COM3", "/dev/serial/by-id/usb-...")
    std::string display; // what a list shows ("COM3", "usb-...")
    int number = 0;      // the COM number that names this port ("--port 3", "COM3")
    std::string target;  // the device node `device` leads to when it is a link, else empty
};

// The device name of COM port n: "\\.\COM%d" on Windows. On Linux the n-th
// serial device that exists (counting from 1), or "" when there is none.
std::string ComPortDevice(int n);

// The highest COM port number a command line takes.
constexpr int kMaxComPortNumber = 255;

// A port written as a COM port number, "9" or "COM9", on every system.
// False for any other name (a device name); true with `number` set to 1..255,
// or to 0 when the number is out of that range.
bool ReadComPortNumber(const std::string& name, int& number);

// Candidates for a scan of COM(first)..COM(last) on Windows. On Linux the
// serial devices that exist, numbered from 1, each device once: first the
// names listed in the CCTALK_PORTS environment variable (separated by ':'),
// then the stable names in /dev/serial/by-id (or the folder named by
// CCTALK_SERIAL_BY_ID) in name order, then /dev/ttyUSB*, /dev/ttyACM* and
// /dev/ttyS* in numeric order; at most last - first + 1 of them.
std::vector<PortName> SerialPortCandidates(int first, int last);

// "COM3  /dev/serial/by-id/usb-...  (/dev/ttyUSB0)": the number that names
// the port, its device name and, for a link, the device it leads to today.
std::string DescribePort(const PortName& port);

} // namespace platform
