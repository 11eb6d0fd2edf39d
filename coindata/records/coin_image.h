// The acceptor's description of one coin index: 4096 bytes sent unchanged
// in 16 fragments of 256. Only bytes 234-245 mean something here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

constexpr size_t kCoinImageBytes = 4096;
constexpr size_t kCoinImageFragmentBytes = 256;

using CoinImage = std::array<uint8_t, kCoinImageBytes>;

struct CoinImageFields {
    uint8_t bFirm = 0;      // byte 234: service company index
    uint32_t tWritten = 0;  // bytes 235-238: time of writing
    char szCoinId[7] = {};  // bytes 239-244, 6 characters (NUL added here)
    uint8_t bCoinIndex = 0; // byte 245: coin index in the acceptor, 0-15
};

CoinImageFields ReadCoinImageFields(const CoinImage& image);
// Puts the fields into bytes 234-245 (the identifier without its NUL).
void WriteCoinImageFields(CoinImage& image, const CoinImageFields& fields);
