// The English lines the console adds after the program's own status lines:
// the port that did not open, why and what to do; the address that did not
// answer. The window keeps its one status line as it is.
#pragma once

#include "link/com_port.h"
#include "link/port_settings.h"

#include <string>
#include <vector>

// The command that lists the ports, named by the remedies.
constexpr char kPortListCommand[] = "ducat ports";

// "/dev/ttyUSB9: no such port (error 2); `ducat ports` lists the ports there are".
std::string OpenFailureNote(const PortOpenFailureRecord& failure);

// The status line of a port that did not open.
bool IsOpenFailureLine(const std::string& cp1251Line);

// The note a status line calls for ("no reply from address 2 at 9600 bit/s
// on ..." after the line of a reply head that never came); "" for others.
std::string StatusLineNote(const std::string& cp1251Line);

// "COM1  /dev/ttyS0: permission denied ...": each port that exists but did
// not open, and why; ports that do not exist are left out.
std::vector<std::string> RefusedPortLines(const std::vector<RefusedPort>& refused);
