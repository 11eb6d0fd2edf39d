#include "coindata/records/config_record.h"

#include "coindata/records/field_codec.h"

namespace {

// The content in file order, group by group; a group is taken only when
// the version is at least the group's.
template <typename Record, typename Codec>
void VisitConfig(Record& r, Codec& c, int32_t version) {
    auto& x = r.reserved;
    if (version >= 1) {
        c.Field(r.iVersion);
        c.Field(r.iSpeedIndex);
        c.Field(r.iProtocolIndex);
        c.Field(x.iReserved1);
        c.Field(r.iPortIndex);
        c.Field(r.bDeviceAddress);
        c.Field(x.aiReserved2);
        c.Field(x.iReserved3);
    }
    if (version >= 2) {
        c.Field(x.aiReserved4);
        c.Field(x.aiReserved5);
    }
    if (version >= 3) {
        c.Field(r.szCurrentCoinId);
        c.Field(x.aiReserved6);
    }
    if (version >= 4) {
        c.Field(x.szReserved7);
        c.Field(x.szReserved8);
    }
    if (version >= 5) c.Field(x.iReserved9);
    if (version >= 6) {
        for (auto& slot : r.stCoinSet) VisitCoinSetSlot(slot, c);
        c.Field(x.aiReserved10);
    }
    if (version >= 7) c.Field(r.dwLastSerialWritten);
    if (version >= 8) c.Field(x.bReserved11);
    if (version >= 9) {
        c.Field(x.aiReserved12);
        c.Field(x.dReserved13);
        c.Field(r.bHexDisplay);
    }
    if (version >= 10) c.Field(x.aiReserved14);
    if (version >= 11) c.Field(x.szProgramPath);
    if (version >= 12) c.Field(x.szSecondProgramPath);
}

} // namespace

std::vector<uint8_t> EncodeConfig(const ConfigRecord& record) {
    ConfigRecord current = record;
    current.iVersion = kConfigVersion;
    std::vector<uint8_t> content(kConfigContentBytes);
    FieldWriter writer(content.data(), content.size());
    VisitConfig(current, writer, kConfigVersion);
    return content;
}

bool DecodeConfig(const uint8_t* content, size_t n, ConfigRecord& record) {
    int32_t version = 0;
    FieldReader head(content, n);
    head.Field(version);
    if (!head.Ok()) return false;

    ConfigRecord read = record;
    FieldReader reader(content, n);
    VisitConfig(read, reader, version);
    if (!reader.Ok()) return false;
    for (CoinSetEntry& slot : read.stCoinSet) slot.bPresent = 0;
    record = read;
    return true;
}
