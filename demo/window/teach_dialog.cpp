#include "demo/window/teach_dialog.h"

#include "demo/window/resource.h"
#include "demo/window/timers.h"

#include <vector>

CTeachDlg::CTeachDlg(HWND parent, CCctDriver& driver) : CDialogBase(IDD_TEACH, parent), m_Teach(driver) {}

BOOL CTeachDlg::OnInitDialog() {
    m_Teach.m_bTeaching = 0;
    SetTimer(m_hWnd, ID_TIMER_TEACH, kTeachTickMs, nullptr);
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
    m_Teach.StartOrAbort(text.data(), IsDlgButtonChecked(m_hWnd, IDC_TEACH_ENHANCED) == BST_CHECKED);
    SetDlgItemTextA(m_hWnd, IDC_TEACH_START, m_Teach.m_ButtonText.c_str());
}

void CTeachDlg::OnTimer(UINT_PTR id) {
    if (id != ID_TIMER_TEACH) return;
    m_Teach.Tick();
    ShowState();
}

void CTeachDlg::ShowState() {
    SetDlgItemTextA(m_hWnd, IDC_TEACH_PROGRESS, m_Teach.m_Progress.c_str());
    SetDlgItemTextA(m_hWnd, IDC_TEACH_STATUS, m_Teach.m_StatusText.c_str());
    SetDlgItemTextA(m_hWnd, IDC_TEACH_START, m_Teach.m_ButtonText.c_str());
}

// "Close", Escape and the caption's close box all end a running teach first.
void CTeachDlg::OnOK() { Close(); }
void CTeachDlg::OnCancel() { Close(); }

void CTeachDlg::Close() {
    m_Teach.Close();
    KillTimer(m_hWnd, ID_TIMER_TEACH);
    EndDialog(m_hWnd, IDOK);
}
