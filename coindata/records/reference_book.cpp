#include "coindata/records/reference_book.h"

#include "coindata/records/field_codec.h"

std::vector<std::unique_ptr<ReferenceBookRecord>> ReferenceBook;

namespace {

constexpr auto kFields = [](auto& r, auto& c) {
    c.Field(r.szCoinId);
    c.Field(r.szShort);
    c.Field(r.szFull);
    c.Field(r.szYear);
    c.Field(r.szDimensions);
    c.Field(r.szCountry);
    c.Field(r.szDenomination);
};

} // namespace

ReferenceBookRecordBytes EncodeReferenceBookRecord(const ReferenceBookRecord& record) {
    return EncodeFields<kReferenceBookRecordBytes>(record, kFields);
}

ReferenceBookRecord DecodeReferenceBookRecord(const ReferenceBookRecordBytes& bytes) {
    return DecodeFields<ReferenceBookRecord>(bytes, kFields);
}

void ClearReferenceBook() { ReferenceBook.clear(); }
