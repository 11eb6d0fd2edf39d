#include "demo/window/options_dialog.h"

#include "demo/port_scan.h"
#include "demo/window/resource.h"

#include <iterator>
#include <string>

namespace {
// The list's texts; the last one has no blank, as the operator has always seen it.
constexpr const char* kPollIntervalTexts[] = {"100 ms", "200 ms", "300 ms", "400 ms",
                                              "500 ms", "600 ms", "800 ms", "1000ms"};
static_assert(std::size(kPollIntervalTexts) == kPollIntervalEntries.size());
} // namespace

COptionsDlg::COptionsDlg(HWND parent) : CDialogBase(IDD_OPTIONS, parent) {}

BOOL COptionsDlg::OnInitDialog() {
    FillPollingList();
    m_Fields = OptionsFromSettings();
    Refresh();
    return TRUE;
}

void COptionsDlg::FillPollingList() {
    for (const char* text : kPollIntervalTexts) SendDlgItemMessageA(m_hWnd, IDC_OPT_POLLING, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

// Address first: a wrong address leaves the port as it was.
void COptionsDlg::DoDataExchange(CDataExchange& dx) {
    dx.Byte(IDC_OPT_ADDRESS, m_Fields.address);
    dx.Byte(IDC_OPT_COM_PORT, m_Fields.comPort);
    dx.Check(IDC_OPT_LONG_SORTER, m_Fields.longSorter);
    dx.ComboIndex(IDC_OPT_POLLING, m_Fields.intervalEntry);
}

bool COptionsDlg::OnCommand(WORD id, WORD code) {
    if (id != IDC_OPT_SEARCH || code != BN_CLICKED) return false;
    OnSearch();
    return true;
}

void COptionsDlg::OnSearch() {
    if (!TakeFields()) return;
    const HWND status = Item(IDC_OPT_SEARCH_STATUS);
    const int found = ScanPorts(m_Fields.address, [status](const std::string& line) {
        SetWindowTextA(status, line.c_str());
        UpdateWindow(status);
    });
    if (found != 0) m_Fields.comPort = static_cast<uint8_t>(found);
    Refresh();
}

// Nothing is changed or stored while a box holds no valid number.
void COptionsDlg::OnOK() {
    if (!TakeFields()) return;
    ApplyOptions(m_Fields);
    auto store = platform::OpenUserSettings(kSettingsCompany, kSettingsProgram);
    SaveSettings(*store);
    EndDialog(m_hWnd, IDOK);
}
