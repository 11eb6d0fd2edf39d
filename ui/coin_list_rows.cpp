#include "ui/coin_list_rows.h"

#include "platform/local_time.h"

#include <cstdio>
#include <ctime>

const char* const kCoinListCaptions[kCoinListColumns] = {"Used", "Coin", "Divider", "Date & Time", "Firm", "Count"};

namespace {

constexpr const char* kBlank = " ";

} // namespace

bool FormatLocalDayTime(int64_t seconds, bool withSeconds, std::string& text) {
    std::tm t{};
    if (!platform::LocalCalendarTime(seconds, t)) return false;
    char formatted[64];
    std::snprintf(formatted, sizeof formatted, "%02d-%02d-%04d %02d:%02d", t.tm_mday, t.tm_mon + 1,
                  t.tm_year + 1900, t.tm_hour, t.tm_min);
    text = formatted;
    if (withSeconds) {
        std::snprintf(formatted, sizeof formatted, ":%02d", t.tm_sec);
        text += formatted;
    }
    return true;
}

std::string FormatListTime(int64_t seconds) {
    std::string text;
    return FormatLocalDayTime(seconds, false, text) ? text : kBlank;
}

std::string FormatDescriptionTime(int64_t seconds) {
    std::string text;
    return FormatLocalDayTime(seconds, true, text) ? text : kBlank;
}

CoinListRow FormatCoinListRow(int index, const DeviceCoinEntry& entry) {
    CoinListRow row;
    row.checked = entry.bInherit != 0;
    row.cells[0] = std::to_string(index + 1);
    if (entry.szCoinId[0] == '.') {
        for (size_t c = 1; c < kCoinListColumns; ++c) row.cells[c] = kBlank;
        return row;
    }
    row.cells[1] = entry.szCoinId;
    row.cells[2] = std::to_string(entry.iErrorDivider);
    row.cells[3] = FormatListTime(entry.tWritten);
    row.cells[4] = std::to_string(entry.iFirm);
    row.cells[5] = std::to_string(entry.iAcceptCount);
    return row;
}
