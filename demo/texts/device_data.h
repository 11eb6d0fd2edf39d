// What a device tells about itself and its sorter, as plain data: the texts
// are made from it, the core keeps it in its fields.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// Option flag bits (header 213) and their letters in the identification.
constexpr uint8_t kOptionTeach = 0x80;       // "T"
constexpr uint8_t kOptionEscrow = 0x40;      // "E"
constexpr uint8_t kOptionMotor = 0x20;       // "M"
constexpr uint8_t kOptionAcceptLimit = 0x10; // "L"
// What a device without option flags is taken to offer.
constexpr uint8_t kOptionFlagsAbsent = kOptionTeach;

// Who the device said it is, each text as the device gave it; the status
// box shows them joined (IdentificationText).
struct DeviceIdentity {
    std::string manufacturer;
    std::string productCode;
    uint32_t serialNumber = 0;
    std::string revision;
    std::string optionLetters; // empty when the device gives no option flags
};

// A coin's sorter paths: four with the long sorter commands, else the first.
constexpr int kPathsPerCoin = 4;
using SorterPaths = std::array<uint8_t, kPathsPerCoin>;
