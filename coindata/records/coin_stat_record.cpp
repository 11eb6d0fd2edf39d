#include "coindata/records/coin_stat_record.h"

#include "coindata/records/field_codec.h"

namespace {

// The record's words in file order.
constexpr auto kFields = [](auto& r, auto& c) {
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
};

} // namespace

CoinStatRecordBytes EncodeCoinStatRecord(const CoinStatRecord& record) {
    return EncodeFields<kCoinStatRecordBytes>(record, kFields);
}

CoinStatRecord DecodeCoinStatRecord(const CoinStatRecordBytes& bytes) {
    return DecodeFields<CoinStatRecord>(bytes, kFields);
}
