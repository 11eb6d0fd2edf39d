#include "demo/window/teach_dialog.h"

#include "demo/window/resource.h"
#include "demo/window/timers.h"

#include <vector>

CTeachDlg::CTeachDlg(HWND owner, CCctDriver& driver) : CDialogBase(IDD_TEACH, owner), teach_(driver) {}

BOOL CTeachDlg::OnInitDialog() {
    teach_.teaching = 0;
    SetTimer(window, ID_TIMER_TEACH, kTeachTickMs, nullptr);
    return TRUE;
}

bool CTeachDlg::OnCommand(WORD id, WORD code) {
    if (id != IDC_TEACH_START || code != BN_CLICKED) return false;
    OnStartOrAbort();
    return true;
}

void CTeachDlg::OnStartOrAbort() {
    const HWND channel = Item(IDC_TEACH_CHANNEL);
    std::vector<char> text(static_cast<size_t>(GetWindowTextLengthA(channel)) + 1, '\0');
    GetWindowTextA(channel, text.data(), static_cast<int>(text.size()));
    teach_.StartOrAbort(text.data(), IsDlgButtonChecked(window, IDC_TEACH_ENHANCED) == BST_CHECKED);
    SetDlgItemTextA(window, IDC_TEACH_START, teach_.buttonText.c_str());
}

void CTeachDlg::OnTimer(UINT_PTR id) {
    if (id != ID_TIMER_TEACH) return;
    teach_.Tick();
    ShowState();
}

void CTeachDlg::ShowState() {
    SetDlgItemTextA(window, IDC_TEACH_PROGRESS, teach_.progress.c_str());
    SetDlgItemTextA(window, IDC_TEACH_STATUS, teach_.statusText.c_str());
    SetDlgItemTextA(window, IDC_TEACH_START, teach_.buttonText.c_str());
}

// "Close", Escape and the caption's close box all end a running teach first.
void CTeachDlg::OnOK() { Close(); }
void CTeachDlg::OnCancel() { Close(); }

void CTeachDlg::Close() {
    teach_.Close();
    KillTimer(window, ID_TIMER_TEACH);
    EndDialog(window, IDOK);
}
