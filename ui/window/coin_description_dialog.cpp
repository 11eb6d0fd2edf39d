#include "ui/window/coin_description_dialog.h"

#include "coindata/records/coin_description.h"
#include "ui/coin_list_rows.h"
#include "ui/starters.h"
#include "ui/window/dialog_text.h"
#include "ui/window/resource.h"

#include <cstdio>
#include <string>

namespace {

struct ShownField {
    int id;
    int limit; // characters
};

constexpr ShownField kDenomination{IDC_DESC_DENOMINATION, 32};
constexpr ShownField kYear{IDC_DESC_YEAR, 32};
constexpr ShownField kDimensions{IDC_DESC_DIMENSIONS, 100};
constexpr ShownField kCountry{IDC_DESC_COUNTRY, 32};
constexpr ShownField kWritten{IDC_DESC_WRITTEN, 32};
constexpr ShownField kFirm{IDC_DESC_FIRM, 3};
constexpr ShownField kCoinIndex{IDC_DESC_COIN_INDEX, 2};
constexpr ShownField kShort{IDC_DESC_SHORT, 150};
constexpr ShownField kFull{IDC_DESC_FULL, 1000};

// The quotation marks around the coin belong to the title.
constexpr const char* kTitleFormat = "\"%s\" Coin Description";

void Show(HWND dialog, const ShownField& field, const std::string& text) {
    LimitItemText(dialog, field.id, field.limit);
    SetItemText(dialog, field.id, text);
}

} // namespace

void CoinDescriptionDialog::Open(HINSTANCE instance, HWND mainWindow) {
    RunModal(instance, IDD_COIN_DESCRIPTION, mainWindow);
}

void CoinDescriptionDialog::OnInit() {
    const HWND dialog = Handle();
    const CoinDescription& d = CurrentCoinDescription;
    Show(dialog, kDenomination, d.szDenomination);
    Show(dialog, kYear, d.szYear);
    Show(dialog, kDimensions, d.szDimensions);
    Show(dialog, kCountry, d.szCountry);
    Show(dialog, kWritten, FormatDescriptionTime(d.tWritten));
    Show(dialog, kFirm, std::to_string(d.bFirm));
    Show(dialog, kCoinIndex, std::to_string(d.bCoinIndex));
    Show(dialog, kShort, d.szShort);
    Show(dialog, kFull, d.szFull);
    char title[64];
    std::snprintf(title, sizeof title, kTitleFormat, d.szCoinId);
    SetWindowTextA(dialog, title);
}

void CoinDescriptionDialog::OnOk() {
    StartCoinWrite(CurrentCoinDescription.bCoinIndex);
    Finish(IDOK);
}
