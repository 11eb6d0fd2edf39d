#include "coindata/records/coin_weights.h"

#include "coindata/records/field_codec.h"

namespace {

constexpr auto kFields = [](auto& w, auto& c) {
    c.Field(w.aiWords);
    c.Field(w.iCount);
};

} // namespace

CoinWeightsBytes EncodeCoinWeights(const CoinWeights& weights) {
    return EncodeFields<kCoinWeightsBytes>(weights, kFields);
}

CoinWeights DecodeCoinWeights(const CoinWeightsBytes& bytes) { return DecodeFields<CoinWeights>(bytes, kFields); }
