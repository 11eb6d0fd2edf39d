#include "coindata/reference_book.h"

#include "coindata/field_codec.h"

std::vector<std::unique_ptr<ReferenceBookRecord>> ReferenceBook;

namespace {

template <typename Record, typename Codec>
void VisitFields(Record& r, Codec& c) {
    c.Field(r.szCoinId);
    c.Field(r.szShort);
    c.Field(r.szFull);
    c.Field(r.szYear);
    c.Field(r.szDimensions);
    c.Field(r.szCountry);
    c.Field(r.szDenomination);
}

} // namespace

ReferenceBookRecordBytes EncodeReferenceBookRecord(const ReferenceBookRecord& record) {
    ReferenceBookRecordBytes bytes{};
    FieldWriter writer(bytes.data(), bytes.size());
    VisitFields(record, writer);
    return bytes;
}

ReferenceBookRecord DecodeReferenceBookRecord(const ReferenceBookRecordBytes& bytes) {
    ReferenceBookRecord record;
    FieldReader reader(bytes.data(), bytes.size());
    VisitFields(record, reader);
    return record;
}

void ClearReferenceBook() { ReferenceBook.clear(); }
