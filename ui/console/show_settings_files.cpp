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
        p.Heading("coin set slot " + std::to_string(i));
        p.Text("coin", slot.szCoinId);
        p.Text("comment", slot.szComment);
        p.Number("selected", slot.bSelected);
        p.Number("error divider", slot.iErrorDivider);
        p.Number("second parameter", slot.iParam2);
        p.Number("enabled", slot.bEnabled);
    }
}

} // namespace

bool ShowConfigFile(const uint8_t* content, size_t n, FieldPrinter& p) {
    ConfigRecord record;
    const bool whole = DecodeConfig(content, n, record);
    p.Check("content length for its version", whole);
    if (!whole) return false;
    p.Number("version", record.iVersion);
    p.Number("speed index", record.iSpeedIndex);
    p.Number("line speed (bit/s)", SpeedForIndex(record.iSpeedIndex));
    p.Number("protocol index", record.iProtocolIndex);
    p.Number("port index", record.iPortIndex);
    p.Number("acceptor address", record.bDeviceAddress);
    p.Text("current coin", record.szCurrentCoinId);
    p.Number("last serial written", record.dwLastSerialWritten);
    p.Number("hexadecimal display", record.bHexDisplay);
    p.Text("program file", record.reserved.szProgramPath);
    p.Text("second program file", record.reserved.szSecondProgramPath);
    ShowCoinSet(record.stCoinSet, p);
    return true;
}

bool ShowReferenceBookFile(const uint8_t* content, size_t n, FieldPrinter& p) {
    const auto show = [&p](size_t i, const ReferenceBookRecordBytes& bytes) {
        const ReferenceBookRecord r = DecodeReferenceBookRecord(bytes);
        p.Heading("record " + std::to_string(i));
        p.Text("coin", r.szCoinId);
        p.Text("country", r.szCountry);
        p.Text("denomination", r.szDenomination);
        p.Text("year", r.szYear);
        p.Text("dimensions", r.szDimensions);
        p.Text("short", r.szShort);
        p.Text("full", r.szFull);
    };
    return ShowCountedRecords<ReferenceBookRecordBytes>(content, n, kReferenceCapacity, p, show);
}
