// The main window's buttons, menu and coin list.
#include "ui/window/main_window.h"

#include "coindata/files/coin_description_file.h"
#include "coindata/files/config_file.h"
#include "coindata/files/file_result.h"
#include "coindata/records/device_coin_table.h"
#include "link/com_thread.h"
#include "link/command_mailbox.h"
#include "link/log_queue.h"
#include "ui/starters.h"
#include "ui/window/coin_file_choice.h"
#include "ui/window/coin_list_view.h"
#include "ui/window/dialog_text.h"
#include "ui/window/resource.h"

#include <commctrl.h>

namespace {

constexpr const char* kCoinChosen = "Установлена текущая монета:     %s";
constexpr const char* kNoFileChosen = "Файл не выбран";
constexpr const char* kExitCaption = "Exit Application";
constexpr const char* kExitQuestion = "Do you really want to close all connections and terminate the application?";

// The menu items that need the acceptor's coin table, and the one that
// only needs the line to be free.
constexpr UINT kTableCommands[] = {IDM_EXPORT_CURRENT_PARAMETERS, IDM_UPDATE_COIN_DESCRIPTION, IDM_OPTIONS};
constexpr UINT kIdleCommands[] = {IDM_MAIN_SETTINGS};

bool IsCoinRow(int row) { return row >= 0 && row < kDeviceCoinRows; }

// A path the box returns with a drive letter ("C:...").
bool HasDriveLetter(const std::string& path) { return path.size() > 1 && path[1] == ':'; }

void EnableMenuCommand(HMENU menu, UINT id, bool on) {
    EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
}

} // namespace

bool MainWindow::DeviceCommandsAllowed() const { return stDeviceCoins.IsDeviceListValid() && !RunExists(); }

bool MainWindow::OnCommand(int id, int notification) {
    switch (id) {
    case IDC_STATUS_LINE:
        if (notification != STN_DBLCLK) return false;
        ShowStatusHistory();
        return true;
    case IDC_START: Start(); return true;
    case IDC_STOP: Stop(); return true;
    case IDC_EDIT_SELECTED_COIN: EditSelectedCoin(); return true;
    case IDM_EXPORT_CURRENT_PARAMETERS: StartLogExport(); return true;
    case IDM_UPDATE_COIN_DESCRIPTION: UpdateCoinDescription(); return true;
    case IDM_MAIN_SETTINGS: settings_.Open(instance_, Handle()); return true;
    case IDM_OPTIONS:
        if (!maxErrors_.Activate()) maxErrors_.Open(instance_, Handle());
        return true;
    case IDOK:
        // Enter on the list comes to the dialog as its default command.
        if (GetFocus() == Item(IDC_DEVICE_COIN_LIST) && DeviceCommandsAllowed()) EditSelectedCoin();
        return true;
    case IDM_EXIT:
    case IDCANCEL: // Escape and the close box
        ConfirmExit();
        return true;
    default:
        return false;
    }
}

void MainWindow::Start() {
    // The last run's lines go into the history first; the status line then
    // no longer says "Thread Stopped" over the run that starts now.
    DrainStatusLines();
    SetItemText(Handle(), IDC_STATUS_LINE, "");
    StartIdentification();
}

void MainWindow::Stop() {
    SetFocus(Handle());
    watch_.Stop();
}

void MainWindow::EditSelectedCoin() {
    const int row = Mailbox.iSelectedDeviceCoin.load(std::memory_order_acquire);
    if (!IsCoinRow(row)) return;
    const HWND list = Item(IDC_DEVICE_COIN_LIST);
    SelectCoinListRow(list, row);
    SetFocus(list);
    if (!divider_.Activate()) divider_.Open(instance_, Handle());
}

void MainWindow::UpdateCoinDescription() {
    const std::string path = ChooseCoinDescriptionFile(Handle());
    SetCurrentDirectoryA(currentDirectory_.c_str());
    if (!HasDriveLetter(path)) {
        LogQueuePush(kNoFileChosen);
        return;
    }
    LogQueuePushFormat(kCoinChosen, path.c_str());
    if (ReadCoinDescription(path.c_str()) == kFileOk) coinDescription_.Open(instance_, Handle());
}

void MainWindow::ConfirmExit() {
    if (MessageBoxA(Handle(), kExitQuestion, kExitCaption, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
    // Clearing the command fields under a running run would hand it a
    // command it does not know; the configuration does not need them then.
    if (!RunExists()) ReadCommandFields();
    WriteConfig();
    DestroyWindow(Handle());
}

void MainWindow::OnMenuOpening(HMENU menu) {
    const bool idle = !RunExists();
    const bool tableRead = stDeviceCoins.IsDeviceListValid();
    for (const UINT id : kTableCommands) EnableMenuCommand(menu, id, idle && tableRead);
    for (const UINT id : kIdleCommands) EnableMenuCommand(menu, id, idle);
}

void MainWindow::OnListNotification(const NMHDR& header) {
    if (header.idFrom != IDC_DEVICE_COIN_LIST) return;
    if (header.code == NM_CUSTOMDRAW) {
        // Every repaint of the list tells which row the operator is on. A
        // run may be reading the row it was started for, so the choice
        // changes only while none exists.
        if (RunExists()) return;
        const int row = FocusedCoinListRow(header.hwndFrom);
        if (!IsCoinRow(row)) {
            Mailbox.iSelectedDeviceCoin.store(-1, std::memory_order_release);
            return;
        }
        Mailbox.iSelectedDeviceCoin.store(row, std::memory_order_release);
        if (DeviceCommandsAllowed()) EnableWindow(Item(IDC_EDIT_SELECTED_COIN), TRUE);
    } else if (header.code == LVN_ITEMACTIVATE && DeviceCommandsAllowed()) {
        EditSelectedCoin();
    }
}

void MainWindow::RefreshCoinList() { FillCoinListView(Item(IDC_DEVICE_COIN_LIST), stDeviceCoins.GetDeviceCoins()); }
