// The main window's commands: coin table edits, outlet overrides, the extra
// functions, the counters, the dialogs and the end of the window.
#include "demo/window/main_dialog.h"

#include "demo/core/options.h"
#include "demo/window/about_dialog.h"
#include "demo/window/coin_rows.h"
#include "demo/window/options_dialog.h"
#include "demo/window/resource.h"
#include "demo/window/teach_dialog.h"
#include "demo/window/timers.h"

namespace {
bool IsOutletFullBox(WORD id) {
    return id == IDC_OUTLET1_FULL || (id >= IDC_OUTLET2_FULL && id <= IDC_OUTLET5_FULL);
}
} // namespace

bool CDemoDlg::OnCommand(WORD id, WORD code) {
    // Notifications of controls that a refresh or a take changes are not the operator's.
    if (Exchanging()) return true;
    if (OnCoinRowCommand(id, code) || OnOutletFullCommand(id, code)) return true;
    if (id == IDC_DEFAULT_PATH) {
        if (code == EN_CHANGE) OnDefaultPathChanged();
        return true;
    }
    if (code != BN_CLICKED) return false;
    return OnButtonCommand(id);
}

bool CDemoDlg::OnCoinRowCommand(WORD id, WORD code) {
    if (id < IDC_COIN_ROW_FIRST || id > kLastCoinRowControl) return false;
    const int offset = id - IDC_COIN_ROW_FIRST;
    const int position = offset / IDC_COIN_ROW_STRIDE + 1;
    const int column = offset % IDC_COIN_ROW_STRIDE;
    if (column == IDC_ROW_SORT && code == EN_KILLFOCUS) {
        OnSortBoxLeft(position);
    } else if (column == IDC_ROW_INHIBIT && code == BN_CLICKED) {
        TakeFields();
        m_Core.WriteInhibits();
        Refresh();
    }
    return true;
}

bool CDemoDlg::OnOutletFullCommand(WORD id, WORD code) {
    if (!IsOutletFullBox(id)) return false;
    if (code == BN_CLICKED) {
        TakeFields();
        m_Core.WriteSorterOverride();
        Refresh();
    }
    return true;
}

bool CDemoDlg::OnButtonCommand(WORD id) {
    switch (id) {
    case IDC_RESET_COUNTERS: m_Core.ResetCounters(); return true;
    case IDC_QUIT: OnQuit(); return true;
    case IDC_MASTER_INHIBIT: OnMasterInhibit(); return true;
    case IDC_ESCROW_RETURN: m_Core.EscrowReturn(); return true;
    case IDC_ESCROW_ACCEPT: m_Core.EscrowAccept(); return true;
    case IDC_MOTOR_RETURN: m_Core.MotorReturn(); return true;
    case IDC_TRASH_CYCLE: m_Core.TrashCycle(); return true;
    case IDC_SET_LIMIT: OnSetAcceptLimit(); return true;
    case ID_OPTIONS: RunOptions(); return true;
    case ID_SPECIAL_TEACH: RunTeaching(); return true;
    case ID_ABOUT: RunAbout(); return true;
    default: return false;
    }
}

void CDemoDlg::OnSortBoxLeft(int position) {
    if (GetWindowTextLengthA(Item(CoinRowControl(position, IDC_ROW_SORT))) == 0) return;
    TakeFields();
    m_Core.WriteSorterPaths(position);
    Refresh();
}

void CDemoDlg::OnDefaultPathChanged() {
    if (GetWindowTextLengthA(Item(IDC_DEFAULT_PATH)) == 0) return;
    TakeFields();
    m_Core.WriteDefaultPath();
    Refresh();
}

// Only the tick and the inhibits change; the rest of the window stays as it is.
void CDemoDlg::OnMasterInhibit() {
    m_Core.m_MasterInhibit = IsDlgButtonChecked(m_hWnd, IDC_MASTER_INHIBIT) == BST_CHECKED;
    m_Core.WriteMasterInhibit();
    CheckDlgButton(m_hWnd, IDC_MASTER_INHIBIT, m_Core.m_MasterInhibit != 0 ? BST_CHECKED : BST_UNCHECKED);
}

void CDemoDlg::OnSetAcceptLimit() {
    TakeFields();
    m_Core.SetAcceptLimit();
    Refresh();
}

// Polling ends before the fields are taken: a box the operator must
// correct keeps the window open, but no longer talking to the device.
void CDemoDlg::OnQuit() {
    StopTimersAndPort();
    if (!TakeFields()) return;
    EndDialog(m_hWnd, IDOK);
}

void CDemoDlg::OnCancel() {
    StopTimersAndPort();
    EndDialog(m_hWnd, IDCANCEL);
}

void CDemoDlg::StopTimersAndPort() {
    KillTimer(m_hWnd, ID_TIMER_FLASH);
    m_Core.HaltPolling();
}

// The dialog may change port, address and interval: polling starts afresh
// with whatever the settings are when it closes.
void CDemoDlg::RunOptions() {
    KillTimer(m_hWnd, ID_TIMER_FLASH);
    m_Core.StopPolling();
    COptionsDlg options(m_hWnd);
    options.DoModal();
    m_Core.StartPolling();
}

void CDemoDlg::RunTeaching() {
    CTeachDlg teach(m_hWnd, m_Core.m_Driver);
    teach.DoModal();
}

void CDemoDlg::RunAbout() {
    CAboutDlg about(m_hWnd);
    about.DoModal();
}
