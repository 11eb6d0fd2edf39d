#include "coindata/coin_stat_record.h"

#include "coindata/field_codec.h"

namespace {

template <typename Record, typename Codec>
void VisitFields(Record& r, Codec& c) {
    for (auto& point : r.aPoints) {
        c.Field(point.iMax);
        c.Field(point.iEnd);
        c.Field(point.iPos);
        c.Field(point.iC);
    }
    c.Field(r.iD1);
    c.Field(r.iD2);
    c.Field(r.iTime1);
    c.Field(r.iTime2);
    c.Field(r.aiReserved);
}

} // namespace

CoinStatRecordBytes EncodeCoinStatRecord(const CoinStatRecord& record) {
    CoinStatRecordBytes bytes{};
    FieldWriter writer(bytes.data(), bytes.size());
    VisitFields(record, writer);
    return bytes;
}

CoinStatRecord DecodeCoinStatRecord(const CoinStatRecordBytes& bytes) {
    CoinStatRecord record;
    FieldReader reader(bytes.data(), bytes.size());
    VisitFields(record, reader);
    return record;
}
