// The coin description loaded from a coin description file, and the image
// that goes with it. The window thread writes both only while no run exists.
#pragma once

#include "coindata/records/coin_image.h"

#include <array>
#include <cstddef>
#include <cstdint>

struct CoinDescription {
    char szDenomination[32] = {};
    char szYear[32] = {};
    char szDimensions[100] = {};
    char szCountry[32] = {};
    char szShort[150] = {};
    char szFull[1000] = {};
    uint8_t bFirm = 0;
    uint32_t tWritten = 0; // seconds since 1970-01-01 UTC
    char szCoinId[7] = {};
    uint8_t bCoinIndex = 0; // coin index in the acceptor
};

extern CoinDescription CurrentCoinDescription;
extern CoinImage abCoinImage;

// The deciphered content of a coin description file: the texts, an unused
// gap, the image and the CRC-16 of everything before it.
constexpr size_t kCoinDescriptionContentBytes = 5696;
constexpr size_t kCoinDescriptionImageOffset = 1598;
constexpr size_t kCoinDescriptionCrcOffset = 5694;

using CoinDescriptionContent = std::array<uint8_t, kCoinDescriptionContentBytes>;

// Lays out the texts and the image and stores the CRC-16 (plain, not
// enciphered). The image's bytes 234-245 are taken as they are.
CoinDescriptionContent EncodeCoinDescriptionContent(const CoinDescription& description, const CoinImage& image);
bool CoinDescriptionCrcMatches(const CoinDescriptionContent& content);
// Texts cut to their width minus one, the identity fields from the image.
CoinDescription DecodeCoinDescription(const CoinDescriptionContent& content);
CoinImage CoinImageOf(const CoinDescriptionContent& content);
