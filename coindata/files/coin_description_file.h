// Coin description files (".tea"): 5696 enciphered content bytes and the
// checksum, 5700 bytes in all.
#pragma once

#include "coindata/records/coin_description.h"

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr size_t kCoinDescriptionFileBytes = 5700;

// Into CurrentCoinDescription and abCoinImage. 0 read; 1 missing (no
// message); 2 wrong size or checksum (with its message) or wrong CRC
// (without). Nothing changes unless 0.
int ReadCoinDescription(const char* szPath);
