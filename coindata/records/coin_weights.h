// The weight coefficients of one coin: per measurement point k the Max, End
// and Pos weights at words 3k, 3k+1, 3k+2, then the four scalar weights,
// four reserved words and the number of coins they were derived from.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

constexpr size_t kWeightWords = 80; // words 0-79; iCount is word 80
constexpr size_t kD1Weight = 72;
constexpr size_t kD2Weight = 73;
constexpr size_t kTime1Weight = 74;
constexpr size_t kTime2Weight = 75;
constexpr size_t kFirstReservedWeight = 76; // words 76-79 are reserved
constexpr size_t kCoinWeightsBytes = 324;

struct CoinWeights {
    int32_t aiWords[kWeightWords] = {};
    int32_t iCount = 0;
};

using CoinWeightsBytes = std::array<uint8_t, kCoinWeightsBytes>;

CoinWeightsBytes EncodeCoinWeights(const CoinWeights& weights);
CoinWeights DecodeCoinWeights(const CoinWeightsBytes& bytes);
