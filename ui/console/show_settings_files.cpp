// `ducat show` for the configuration file and the coin reference book.
#include "coindata/records/config_record.h"
#include "coindata/records/reference_book.h"
#include "link/port_settings.h"
#include "ui/console/file_show_parts.h"

namespace {

bool SlotInUse(const CoinSetEntry& slot) { return slot.szCoinId[0] != '.' && slot.szCoinId[0] != '\0'; }

void ShowCoinSet(const CoinSet& set, FieldPrinter& p) {
    for (size_t i = 0; i < set.size(); ++i) {
        const CoinSetEntry& slot = set[i];
        if (!SlotInUse(slot) && slot.bSelected == 0) continue;
        p.heading("coin set slot " + std::to_string(i));
        p.text("coin", slot.szCoinId);
        p.text("comment", slot.szComment);
        p.number("selected", slot.bSelected);
        p.number("error divider", slot.iErrorDivider);
        p.number("second parameter", slot.iParam2);
        p.number("enabled", slot.bEnabled);
    }
}

} // namespace

bool ShowConfigFile(const uint8_t* content, size_t n, FieldPrinter& p) {
    ConfigRecord record;
    const bool whole = DecodeConfig(content, n, record);
    p.check("content length for its version", whole);
    if (!whole) return false;
    p.number("version", record.iVersion);
    p.number("speed index", record.iSpeedIndex);
    p.number("line speed (bit/s)", SpeedForIndex(record.iSpeedIndex));
    p.number("protocol index", record.iProtocolIndex);
    p.number("port index", record.iPortIndex);
    p.number("acceptor address", record.bDeviceAddress);
    p.text("current coin", record.szCurrentCoinId);
    p.number("last serial written", record.dwLastSerialWritten);
    p.number("hexadecimal display", record.bHexDisplay);
    p.text("program file", record.reserved.szProgramPath);
    p.text("second program file", record.reserved.szSecondProgramPath);
    ShowCoinSet(record.stCoinSet, p);
    return true;
}

bool ShowReferenceBookFile(const uint8_t* content, size_t n, FieldPrinter& p) {
    const auto show = [&p](size_t i, const ReferenceBookRecordBytes& bytes) {
        const ReferenceBookRecord r = DecodeReferenceBookRecord(bytes);
        p.heading("record " + std::to_string(i));
        p.text("coin", r.szCoinId);
        p.text("country", r.szCountry);
        p.text("denomination", r.szDenomination);
        p.text("year", r.szYear);
        p.text("dimensions", r.szDimensions);
        p.text("short", r.szShort);
        p.text("full", r.szFull);
    };
    return ShowCountedRecords<ReferenceBookRecordBytes>(content, n, kReferenceCapacity, p, show);
}
