// The operator's choice of port and line speed, and the port scan.
#pragma once

#include "platform/port_names.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr size_t kMaxComPorts = 16;
// "\\.\COM%d" takes at most 19 characters on Windows; a POSIX path may be
// as long as the system allows (a stable /dev/serial/by-id name is long).
constexpr size_t kPortNameChars = platform::kMaxPortNameChars; // plus the terminating zero
constexpr size_t kSpeedCount = 10;

extern const uint32_t SpeedTable[kSpeedCount];
// Bit/s of a speed index; any index outside the table gives 9600.
uint32_t SpeedForIndex(int32_t index);

struct ComPortList {
    char entries[kMaxComPorts][kPortNameChars + 1] = {};
    int count = 0;
};

extern ComPortList ComPortTable;
extern char szPortName[kPortNameChars + 1]; // initially "COM6"
extern int32_t iPortIndex;                  // initially 1
extern int32_t iSpeedIndex;                 // initially 6
extern uint32_t dwBaudRate;

// The one writer of szPortName: a name of at most kPortNameChars characters
// (an empty one names no port); false, and the name kept, when it is longer.
bool SetPortName(const std::string& name);

// A candidate port that did not open, with the system's error number.
struct RefusedPort {
    platform::PortName port;
    uint32_t error = 0;
};

// Tries every candidate port, keeps those that open (closing them at once)
// in ComPortTable and returns their display names, index-aligned. `found`,
// when given, receives the same ports with their COM numbers and the device
// each name leads to; `refused`, when given, the candidates that did not open.
std::vector<std::string> ScanComPorts(std::vector<platform::PortName>* found = nullptr,
                                      std::vector<RefusedPort>* refused = nullptr);

// The start-up choice after a scan: clamp iPortIndex, take the port name,
// derive dwBaudRate from iSpeedIndex.
void ChooseStartupPort();
