#include "coindata/records/coin_description.h"

#include "coindata/records/field_codec.h"
#include "link/checksums.h"

#include <cstring>

CoinDescription CurrentCoinDescription;
CoinImage abCoinImage{};

namespace {

constexpr size_t kTextsBytes = 1346; // bytes 1346-1597 are not used

template <typename Description, typename Codec>
void VisitTexts(Description& d, Codec& c) {
    c.Field(d.szDenomination);
    c.Field(d.szYear);
    c.Field(d.szDimensions);
    c.Field(d.szCountry);
    c.Field(d.szShort);
    c.Field(d.szFull);
}

uint16_t ContentCrc(const CoinDescriptionContent& content) {
    return Crc16(content.data(), kCoinDescriptionCrcOffset);
}

} // namespace

CoinDescriptionContent EncodeCoinDescriptionContent(const CoinDescription& description, const CoinImage& image) {
    CoinDescriptionContent content{};
    FieldWriter writer(content.data(), content.size());
    VisitTexts(description, writer);
    writer.Zeros(kCoinDescriptionImageOffset - kTextsBytes);
    writer.Bytes(image.data(), image.size());
    StoreLe16(content.data() + kCoinDescriptionCrcOffset, ContentCrc(content));
    return content;
}

bool CoinDescriptionCrcMatches(const CoinDescriptionContent& content) {
    return LoadLe16(content.data() + kCoinDescriptionCrcOffset) == ContentCrc(content);
}

CoinImage CoinImageOf(const CoinDescriptionContent& content) {
    CoinImage image{};
    std::memcpy(image.data(), content.data() + kCoinDescriptionImageOffset, image.size());
    return image;
}

CoinDescription DecodeCoinDescription(const CoinDescriptionContent& content) {
    CoinDescription description;
    FieldReader reader(content.data(), content.size());
    VisitTexts(description, reader);
    const CoinImageFields fields = ReadCoinImageFields(CoinImageOf(content));
    description.bFirm = fields.bFirm;
    description.tWritten = fields.tWritten;
    std::memcpy(description.szCoinId, fields.szCoinId, sizeof description.szCoinId);
    description.bCoinIndex = fields.bCoinIndex;
    return description;
}
