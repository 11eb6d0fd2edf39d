#include "coindata/records/coin_image.h"

#include "coindata/records/field_codec.h"

namespace {

constexpr size_t kFieldsOffset = 234;
constexpr size_t kCoinIdChars = 6;

// Bytes 234-245 in order; the identifier is stored without its NUL.
template <typename Fields, typename Codec, typename CoinIdBytes>
void VisitFields(Fields& f, Codec& c, CoinIdBytes coinId) {
    c.Field(f.bFirm);
    c.Field(f.tWritten);
    c.Bytes(coinId, kCoinIdChars);
    c.Field(f.bCoinIndex);
}

} // namespace

CoinImageFields ReadCoinImageFields(const CoinImage& image) {
    CoinImageFields fields;
    FieldReader reader(image.data() + kFieldsOffset, image.size() - kFieldsOffset);
    VisitFields(fields, reader, reinterpret_cast<uint8_t*>(fields.szCoinId));
    fields.szCoinId[kCoinIdChars] = '\0';
    return fields;
}

void WriteCoinImageFields(CoinImage& image, const CoinImageFields& fields) {
    FieldWriter writer(image.data() + kFieldsOffset, image.size() - kFieldsOffset);
    VisitFields(fields, writer, reinterpret_cast<const uint8_t*>(fields.szCoinId));
}
