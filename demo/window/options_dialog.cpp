#include "demo/window/options_dialog.h"

#include "demo/driver/port_scan.h"
#include "demo/window/resource.h"

#include <iterator>
#include <string>

namespace {
// The list's texts; the last one has no blank, as the operator has always seen it.
constexpr const char* kPollIntervalTexts[] = {"100 ms", "200 ms", "300 ms", "400 ms",
                                              "500 ms", "600 ms", "800 ms", "1000ms"};
static_assert(std::size(kPollIntervalTexts) == kPollIntervalEntries.size());
} // namespace

COptionsDlg::COptionsDlg(HWND owner) : CDialogBase(IDD_OPTIONS, owner) {}

BOOL COptionsDlg::OnInitDialog() {
    FillPollingList();
    fields_ = OptionsFromSettings();
    Refresh();
    return TRUE;
}

void COptionsDlg::FillPollingList() {
    for (const char* text : kPollIntervalTexts) SendDlgItemMessageA(window, IDC_OPT_POLLING, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

// The list first: it cannot hold a wrong value, so the selected interval is
// always taken. Then the address: a wrong address leaves the port and the
// check box as they were.
void COptionsDlg::DoDataExchange(CDataExchange& dx) {
    dx.ComboIndex(IDC_OPT_POLLING, fields_.intervalEntry);
    dx.Byte(IDC_OPT_ADDRESS, fields_.address);
    dx.Byte(IDC_OPT_COM_PORT, fields_.comPort);
    dx.Check(IDC_OPT_LONG_SORTER, fields_.longSorter);
}

bool COptionsDlg::OnCommand(WORD id, WORD code) {
    if (id != IDC_OPT_SEARCH || code != BN_CLICKED) return false;
    OnSearch();
    return true;
}

// A box without a valid number is reported; the search goes on with the
// values taken before it.
void COptionsDlg::OnSearch() {
    TakeFields();
    const HWND status = Item(IDC_OPT_SEARCH_STATUS);
    const int found = ScanPorts(fields_.address, [status](const std::string& line) {
        SetWindowTextA(status, line.c_str());
        UpdateWindow(status);
    });
    if (found != 0) fields_.comPort = static_cast<uint8_t>(found);
    Refresh();
}

// The settings are applied and stored with whatever the boxes gave, even
// when one holds no valid number; such a box is reported once more and
// keeps the dialog open for the operator to correct it.
void COptionsDlg::OnOK() {
    TakeFields();
    ApplyOptions(fields_);
    auto store = platform::OpenUserSettings(kSettingsCompany, kSettingsProgram);
    SaveSettings(*store);
    if (TakeFields()) EndDialog(window, IDOK);
}
