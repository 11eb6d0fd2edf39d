// The device coin list as the main window shows it: one row per acceptor
// coin table row, six columns. Shared by the window and the console.
#pragma once

#include "coindata/records/device_coin_table.h"

#include <array>
#include <string>

constexpr size_t kCoinListColumns = 6;
extern const char* const kCoinListCaptions[kCoinListColumns]; // "Used" "Coin" "Divider" "Date & Time" "Firm" "Count"

struct CoinListRow {
    bool checked = false; // the "Used" box: the acceptor allows the coin
    std::array<std::string, kCoinListColumns> cells;
};

// Row i: its number i + 1, then the coin, divider, local time of writing,
// firm and accepted count; an empty row (name beginning with '.') shows a
// single blank in every column but the first.
CoinListRow FormatCoinListRow(int index, const DeviceCoinEntry& entry);

// "%02d-%02d-%04d %02d:%02d" (day, month, year, hour, minute), local time.
std::string FormatListTime(int64_t seconds);
// The same with the seconds, ":%02d", as the coin description dialog shows
// the time a description was written.
std::string FormatDescriptionTime(int64_t seconds);
// The day, month, year and time of both, with or without the seconds; false
// when the system cannot convert the time.
bool FormatLocalDayTime(int64_t seconds, bool withSeconds, std::string& text);
