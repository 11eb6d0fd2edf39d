// Coin description files as the program reads them, for the tests that
// need one on disk.
#pragma once

#include "coindata/coin_description.h"
#include "coindata/coin_description_file.h"

#include <cstdint>
#include <vector>

// The whole file for a description and its image: CRC-16, cipher (key 0),
// checksum.
std::vector<uint8_t> EncodeCoinDescriptionFile(const CoinDescription& description, const CoinImage& image);
