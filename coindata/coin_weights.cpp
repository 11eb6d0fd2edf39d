#include "coindata/coin_weights.h"

#include "coindata/field_codec.h"

namespace {

template <typename Weights, typename Codec>
void VisitFields(Weights& w, Codec& c) {
    c.Field(w.aiWords);
    c.Field(w.iCount);
}

} // namespace

CoinWeightsBytes EncodeCoinWeights(const CoinWeights& weights) {
    CoinWeightsBytes bytes{};
    FieldWriter writer(bytes.data(), bytes.size());
    VisitFields(weights, writer);
    return bytes;
}

CoinWeights DecodeCoinWeights(const CoinWeightsBytes& bytes) {
    CoinWeights weights;
    FieldReader reader(bytes.data(), bytes.size());
    VisitFields(weights, reader);
    return weights;
}
