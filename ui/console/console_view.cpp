#include "ui/console/console_view.h"

#include "coindata/records/device_coin_table.h"
#include "commands/coin_result.h"
#include "platform/text_encoding.h"
#include "ui/coin_list_rows.h"
#include "ui/console/port_notes.h"
#include "ui/result_fields.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr size_t kColumnWidths[kCoinListColumns] = {6, 8, 9, 18, 6, 6};

// A cell and blanks up to its column's width, at least one blank.
std::string Padded(const std::string& cell, size_t width) {
    std::string padded = cell;
    padded.resize(std::max(cell.size() + 1, width), ' ');
    return padded;
}

bool SameExceptCount(const DeviceCoinRows& a, const DeviceCoinRows& b) {
    for (size_t i = 0; i < a.size(); ++i) {
        const DeviceCoinEntry& x = a[i];
        const DeviceCoinEntry& y = b[i];
        if (std::memcmp(x.szCoinId, y.szCoinId, sizeof x.szCoinId) != 0 || x.iErrorDivider != y.iErrorDivider ||
            x.bInherit != y.bInherit || x.tWritten != y.tWritten || x.iFirm != y.iFirm)
            return false;
    }
    return true;
}

} // namespace

ConsoleView::ConsoleView(std::FILE* out, bool showResults)
    : lines_(out), showResults_(showResults), openFailuresShown_(LastPortOpenFailure().failures) {
    InstallFrontEnd(this);
}

ConsoleView::~ConsoleView() { InstallFrontEnd(nullptr); }

void ConsoleView::WriteIdentityLine(const char* line) {
    std::lock_guard<std::mutex> guard(identityLock_);
    identityLine_ = line;
    identityNew_ = true;
}

void ConsoleView::Print(const char* cp1251Text) { lines_.Put(platform::Cp1251ToTerminal(cp1251Text)); }

RunLook ConsoleView::Tick() {
    const RunLook look = LookAndPrintLines();
    lastSubCommand_ = look.subCommand;
    PrintIdentityLine();
    if (listDirty_.exchange(false, std::memory_order_acq_rel)) PrintCoinList();
    if (!look.results.empty() && showResults_) PrintResult(look.results.back());
    if (lookListener_) lookListener_(look);
    lines_.Flush();
    return look;
}

void ConsoleView::EndRun() { lines_.CloseRun(); }

void ConsoleView::PrintNote(const std::string& note) {
    if (note.empty() || note == lastNote_) return;
    lastNote_ = note;
    lines_.Put(note);
}

RunLook ConsoleView::LookAndPrintLines() {
    // Taken before the lines: a failure is recorded after its line is queued,
    // so the line is among those drained now and its note comes after it.
    const PortOpenFailureRecord failure = LastPortOpenFailure();
    bool openFailureNew = failure.failures != openFailuresShown_;
    openFailuresShown_ = failure.failures;
    const RunLook look = watch_.Look([&](const char* line) {
        Print(line);
        PrintNote(StatusLineNote(line));
        if (openFailureNew && IsOpenFailureLine(line)) {
            PrintNote(OpenFailureNote(failure));
            openFailureNew = false;
        }
    });
    if (openFailureNew) PrintNote(OpenFailureNote(failure));
    return look;
}

void ConsoleView::PrintIdentityLine() {
    std::string line;
    {
        std::lock_guard<std::mutex> guard(identityLock_);
        if (!identityNew_) return;
        identityNew_ = false;
        line = identityLine_;
    }
    Print(line.c_str());
}

void ConsoleView::PrintCountChanges(const DeviceCoinRows& rows) {
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].iAcceptCount == shownRows_[i].iAcceptCount) continue;
        const CoinListRow row = FormatCoinListRow(static_cast<int>(i), rows[i]);
        const std::string line = "Count  " + row.cells[0] + " " + row.cells[1] + " = " + row.cells[5];
        Print(line.c_str());
    }
}

void ConsoleView::PrintCoinList() {
    const DeviceCoinRows rows = stDeviceCoins.GetDeviceCoins();
    const bool countsOnly = listShown_ && SameExceptCount(rows, shownRows_);
    if (countsOnly) PrintCountChanges(rows);
    listShown_ = true;
    shownRows_ = rows;
    if (countsOnly) return;
    std::string line = "    ";
    for (size_t c = 0; c < kCoinListColumns; ++c) line += Padded(kCoinListCaptions[c], kColumnWidths[c]);
    Print(line.c_str());
    for (size_t i = 0; i < rows.size(); ++i) {
        const CoinListRow row = FormatCoinListRow(static_cast<int>(i), rows[i]);
        line = row.checked ? "[x] " : "[ ] ";
        for (size_t c = 0; c < kCoinListColumns; ++c) line += Padded(row.cells[c], kColumnWidths[c]);
        Print(line.c_str());
    }
}

void ConsoleView::PrintResult(const PublishedCoinResult& shown) {
    const ResultFields f = FormatResultFields(shown.result, shown.counter);
    const std::string best = "Best Choice " + f.bestCoin + "   " + f.bestErrors + (f.largeBestCoin ? "   ACCEPTED" : "");
    const std::string next = "Next Choice " + f.nextCoin + "   " + f.nextErrors;
    const std::string buffer = "Header 229  " + f.buffer;
    Print(best.c_str());
    Print(next.c_str());
    Print(buffer.c_str());
}
