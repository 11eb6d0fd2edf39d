// Coin description files as the program reads them, for the tests that
// need one on disk.
#pragma once

#include "coindata/files/coin_description_file.h"
#include "coindata/records/coin_description.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A text into a fixed field of a record: cut to the field, always terminated.
template <size_t N>
void PutText(char (&field)[N], const char* text) {
    size_t i = 0;
    for (; i + 1 < N && text[i] != '\0'; ++i) field[i] = text[i];
    field[i] = '\0';
}

// The whole file for a description and its image: CRC-16, cipher (key 0),
// checksum.
std::vector<uint8_t> EncodeCoinDescriptionFile(const CoinDescription& description, const CoinImage& image);
