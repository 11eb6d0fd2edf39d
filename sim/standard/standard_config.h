// What the virtual standard ccTalk coin acceptor is and how it behaves.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

constexpr int kStandardCoinPositions = 16;

struct StandardCoin {
    std::string id;     // six characters ("EU200A"); empty = position not programmed
    uint32_t value = 0; // hundredths, for the accept limit
};

struct StandardConfig {
    uint8_t address = 2;
    bool echo = true; // a one-wire bus hands every host byte back

    std::string manufacturer = "SIM";
    std::string productCode = "Standard";
    uint32_t serialNumber = 123456;
    std::string revision = "1.00";
    uint8_t optionFlags = 0xC0;
    bool longSorter = false; // four sorter paths per coin instead of one

    std::array<StandardCoin, kStandardCoinPositions> coins = {{
        {"EU005A", 5}, {"EU010A", 10}, {"EU020A", 20}, {"EU050A", 50}, {"EU100A", 100}, {"EU200A", 200},
    }};

    double coinsPerSecond = 0; // random coins; 0 = only those a script inserts
    double rejectShare = 0.1;  // share of random coins that are rejected
    uint32_t seed = 1;
    int teachCoins = 3; // coins that complete a teach
    uint8_t optoStates = 0; // bit 0 coin present, bit 1 trash open, at start

    std::bitset<256> unknownHeaders; // headers the device stays silent to

    // More devices on the same line, one per address (sim/standard/standard_bus.h).
    std::vector<uint8_t> extraAddresses;
};

constexpr uint8_t kOptionFlagsHeader = 213;

// The configuration with the option flags request unknown.
inline void DropOptionFlags(StandardConfig& config) { config.unknownHeaders.set(kOptionFlagsHeader); }

} // namespace sim
