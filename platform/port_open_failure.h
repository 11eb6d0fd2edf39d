// Why a serial port did not open, worded for the operator: the port, the
// cause and what to do about it, in one English line. The consoles print it
// after the program's own message; the error numbers are the system's
// (errno on POSIX, GetLastError on Windows).
#pragma once

#include <cstdint>
#include <string>

namespace platform {

enum class OpenCause {
    NoSuchPort,       // the name leads to no device
    PermissionDenied, // the device is there, the user may not open it (POSIX)
    InUse,            // another program holds it
    NotResponding,    // the device is there but its driver or adapter does not answer
    NotSerial,        // the device is no serial port
    Other,
};

// The cause an error number of each system stands for.
OpenCause PosixOpenCause(uint32_t error);
OpenCause WindowsOpenCause(uint32_t error);

struct OpenFailure {
    std::string port;   // as the operator named it ("/dev/ttyUSB9", "COM3")
    uint32_t error = 0; // the system's number; 0 = none given
    OpenCause cause = OpenCause::Other;
    std::string group;  // PermissionDenied: the group that owns the device, "" when unknown
};

// "/dev/ttyUSB9: no such port (error 2); `ducat ports` lists the ports there are".
// `listCommand` is the command that lists this program's ports.
std::string OpenFailureLine(const OpenFailure& failure, const std::string& listCommand);

// This system's reading of a failed open of `device` (named `port` for the
// operator): the cause from its table and, where permission was denied,
// the group that owns the device. An empty device is a COM number that
// names no port here.
OpenFailure DescribeOpenFailure(const std::string& port, const std::string& device, uint32_t error);

// The name of the group that owns the file or device at `path`; "" when it
// cannot be told (no such file, a group without a name, Windows).
std::string OwningGroup(const std::string& path);

// The group whose members may read and write `path` (as dialout may a
// serial port): its owning group when that group has both rights and is not
// the superuser's; "" otherwise, where joining a group would not help.
std::string JoinableGroup(const std::string& path);

// "no reply from address 2 at 9600 bit/s on /dev/ttyUSB0 (check cable, speed, address)".
std::string NoReplyLine(const std::string& port, int address, uint32_t bitsPerSecond);

} // namespace platform
