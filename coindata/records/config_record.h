// The configuration file's content: groups that came with the format
// versions 1 to 12. A reader takes a group only when the file's version is
// at least the group's; the writer always writes version 12. Reserved
// fields are kept and written back as they were read.
#pragma once

#include "coindata/records/coin_set.h"
#include "coindata/records/current_coin.h"

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int32_t kConfigVersion = 12;
constexpr size_t kConfigContentBytes = 12637; // a version-12 file without its checksum
constexpr size_t kProgramPathBytes = 2000;

// Fields nothing else in the system uses, with their initial values.
struct ConfigReserved {
    int32_t iReserved1 = 0;
    int32_t aiReserved2[4] = {11, 200, 2000, 1};
    int32_t iReserved3 = 0;
    int32_t aiReserved4[2] = {100, 100}; // version 2
    int32_t aiReserved5[2] = {800, 600};
    int32_t aiReserved6[2] = {1, 0};     // version 3; the window sets 0 and 1 at start
    char szReserved7[20] = {};           // version 4
    char szReserved8[20] = {};
    int32_t iReserved9 = 1;              // version 5
    int32_t aiReserved10[2] = {0, 0};    // version 6
    uint8_t bReserved11 = 0;             // version 8
    int32_t aiReserved12[2] = {0, 7};    // version 9
    double dReserved13 = 0.2;
    int32_t aiReserved14[2] = {0, 10};   // version 10
    char szProgramPath[kProgramPathBytes] = {};       // version 11, a firmware program file
    char szSecondProgramPath[kProgramPathBytes] = {}; // version 12
};

struct ConfigRecord {
    int32_t iVersion = kConfigVersion;
    int32_t iSpeedIndex = 6;
    int32_t iProtocolIndex = 0;
    int32_t iPortIndex = 1;
    int32_t bDeviceAddress = 1;
    char szCurrentCoinId[kCoinIdFieldBytes] = "RU1K0B";
    CoinSet stCoinSet = InitialCoinSet();
    uint32_t dwLastSerialWritten = 0; // version 7
    int32_t bHexDisplay = 0;          // version 9
    ConfigReserved reserved;
};

// Version 12 content, kConfigContentBytes long.
std::vector<uint8_t> EncodeConfig(const ConfigRecord& record);
// Overlays the groups the content's version carries onto `record`. False,
// with `record` unchanged, when the content is shorter than its version needs.
bool DecodeConfig(const uint8_t* content, size_t n, ConfigRecord& record);
