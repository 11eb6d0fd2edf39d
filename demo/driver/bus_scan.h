// The bus scan: the broadcast address poll, the clash poll of every address
// that answered in one window (an address that may clash, or a window that
// cannot be read, checked alone), then the identity of each device; or,
// with the thorough scan or when nothing answers the broadcast, a simple
// poll to every address 2 to 255 on the driver's port, then the identity of
// each device that answered.
#pragma once

#include "demo/driver/cct_driver.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

constexpr int kFirstDeviceAddress = 2; // 1 is the host, 0 the broadcast
constexpr int kLastDeviceAddress = 255;

enum class BusScanMode {
    Broadcast, // the broadcast address poll first, every address if nothing answers it
    Thorough,  // a simple poll to every address
};

struct BusDevice {
    uint8_t address = 0;
    bool identified = false; // all four identity requests answered
    bool clash = false;      // two or more devices answered the clash poll alone
    std::string manufacturer;
    std::string productCode;
    uint32_t serialNumber = 0;
    std::string revision;
};

struct BusScanResult {
    std::vector<BusDevice> devices;
    uint64_t elapsedMs = 0;
    bool stopped = false;   // `stop` said so before the last address
    bool byAddress = false; // every address was polled (thorough, or no answer to the broadcast)
};

// Scans the bus; `stop` (may be empty) is asked before each address. The
// driver's address is given back as it was.
BusScanResult ScanBus(CCctDriver& driver, BusScanMode mode = BusScanMode::Broadcast,
                      const std::function<bool()>& stop = {});

// "address 3: SIM - Standard, SN 123457, revision 1.00".
std::string BusDeviceLine(const BusDevice& device);
