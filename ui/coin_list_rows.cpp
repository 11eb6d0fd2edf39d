#include "ui/coin_list_rows.h"

#include <cstdio>
#include <ctime>
#include <mutex>

const char* const kCoinListCaptions[kCoinListColumns] = {"Used", "Coin", "Divider", "Date & Time", "Firm", "Count"};

namespace {

constexpr const char* kBlank = " ";

// The C runtime's local-time conversion shares one result buffer.
std::mutex g_localTimeLock;

bool LocalTime(int64_t seconds, std::tm& out) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::lock_guard<std::mutex> guard(g_localTimeLock);
    const std::tm* local = std::localtime(&t);
    if (local == nullptr) return false;
    out = *local;
    return true;
}

} // namespace

std::string FormatListTime(int64_t seconds) {
    std::tm t{};
    if (!LocalTime(seconds, t)) return kBlank;
    char text[64];
    std::snprintf(text, sizeof text, "%02d-%02d-%04d %02d:%02d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900,
                  t.tm_hour, t.tm_min);
    return text;
}

std::string FormatDescriptionTime(int64_t seconds) {
    std::tm t{};
    if (!LocalTime(seconds, t)) return kBlank;
    char text[64];
    std::snprintf(text, sizeof text, "%02d-%02d-%04d %02d:%02d:%02d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900,
                  t.tm_hour, t.tm_min, t.tm_sec);
    return text;
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
