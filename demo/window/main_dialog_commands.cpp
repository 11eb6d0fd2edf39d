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
        core_.WriteInhibits();
        Refresh();
    }
    return true;
}

bool CDemoDlg::OnOutletFullCommand(WORD id, WORD code) {
    if (!IsOutletFullBox(id)) return false;
    if (code == BN_CLICKED) {
        TakeFields();
        core_.WriteSorterOverride();
        Refresh();
    }
    return true;
}

bool CDemoDlg::OnButtonCommand(WORD id) {
    switch (id) {
    case IDC_RESET_COUNTERS: core_.ResetCounters(); return true;
    case IDC_QUIT: OnQuit(); return true;
    case IDC_MASTER_INHIBIT: OnMasterInhibit(); return true;
    case IDC_ESCROW_RETURN: core_.EscrowReturn(); return true;
    case IDC_ESCROW_ACCEPT: core_.EscrowAccept(); return true;
    case IDC_MOTOR_RETURN: core_.MotorReturn(); return true;
    case IDC_TRASH_CYCLE: core_.TrashCycle(); return true;
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
    core_.WriteSorterPaths(position);
    Refresh();
}

void CDemoDlg::OnDefaultPathChanged() {
    if (GetWindowTextLengthA(Item(IDC_DEFAULT_PATH)) == 0) return;
    TakeFields();
    core_.WriteDefaultPath();
    Refresh();
}

// Only the tick and the inhibits change; the rest of the window stays as it is.
void CDemoDlg::OnMasterInhibit() {
    core_.masterInhibit = IsDlgButtonChecked(window, IDC_MASTER_INHIBIT) == BST_CHECKED;
    core_.WriteMasterInhibit();
    CheckDlgButton(window, IDC_MASTER_INHIBIT, core_.masterInhibit != 0 ? BST_CHECKED : BST_UNCHECKED);
}

void CDemoDlg::OnSetAcceptLimit() {
    TakeFields();
    core_.SetAcceptLimit();
    Refresh();
}

// Polling ends before the fields are taken: a box the operator must
// correct keeps the window open, but no longer talking to the device.
void CDemoDlg::OnQuit() {
    StopTimersAndPort();
    if (!TakeFields()) return;
    EndDialog(window, IDOK);
}

void CDemoDlg::OnCancel() {
    StopTimersAndPort();
    EndDialog(window, IDCANCEL);
}

void CDemoDlg::StopTimersAndPort() {
    KillTimer(window, ID_TIMER_FLASH);
    core_.HaltPolling();
}

// The dialog may change port, address and interval: polling starts afresh
// with whatever the settings are when it closes.
void CDemoDlg::RunOptions() {
    KillTimer(window, ID_TIMER_FLASH);
    core_.StopPolling();
    COptionsDlg options(window);
    options.DoModal();
    core_.StartPolling();
}

void CDemoDlg::RunTeaching() {
    CTeachDlg teach(window, core_.driver);
    teach.DoModal();
}

void CDemoDlg::RunAbout() {
    CAboutDlg about(window);
    about.DoModal();
}
