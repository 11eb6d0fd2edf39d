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

bool MainWindow::deviceCommandsAllowed() const { return stDeviceCoins.IsDeviceListValid() && !RunExists(); }

bool MainWindow::onCommand(int id) {
    switch (id) {
    case IDC_START: start(); return true;
    case IDC_STOP: stop(); return true;
    case IDC_EDIT_SELECTED_COIN: editSelectedCoin(); return true;
    case IDM_EXPORT_CURRENT_PARAMETERS: StartLogExport(); return true;
    case IDM_UPDATE_COIN_DESCRIPTION: updateCoinDescription(); return true;
    case IDM_MAIN_SETTINGS: settings_.open(instance_, handle()); return true;
    case IDM_OPTIONS:
        if (!maxErrors_.activate()) maxErrors_.open(instance_, handle());
        return true;
    case IDOK:
        // Enter on the list comes to the dialog as its default command.
        if (GetFocus() == item(IDC_DEVICE_COIN_LIST) && deviceCommandsAllowed()) editSelectedCoin();
        return true;
    case IDM_EXIT:
    case IDCANCEL: // Escape and the close box
        confirmExit();
        return true;
    default:
        return false;
    }
}

void MainWindow::start() { StartIdentification(); }

void MainWindow::stop() {
    SetFocus(handle());
    StopRun();
}

void MainWindow::editSelectedCoin() {
    const int row = Mailbox.iSelectedDeviceCoin.load(std::memory_order_acquire);
    if (!IsCoinRow(row)) return;
    const HWND list = item(IDC_DEVICE_COIN_LIST);
    SelectCoinListRow(list, row);
    SetFocus(list);
    if (!divider_.activate()) divider_.open(instance_, handle());
}

void MainWindow::updateCoinDescription() {
    const std::string path = ChooseCoinDescriptionFile(handle());
    SetCurrentDirectoryA(currentDirectory_.c_str());
    if (!HasDriveLetter(path)) {
        LogQueuePush(kNoFileChosen);
        return;
    }
    LogQueuePushFormat(kCoinChosen, path.c_str());
    if (ReadCoinDescription(path.c_str()) == kFileOk) coinDescription_.open(instance_, handle());
}

void MainWindow::confirmExit() {
    if (MessageBoxA(handle(), kExitQuestion, kExitCaption, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
    // Clearing the command fields under a running run would hand it a
    // command it does not know; the configuration does not need them then.
    if (!RunExists()) ReadCommandFields();
    WriteConfig();
    DestroyWindow(handle());
}

void MainWindow::onMenuOpening(HMENU menu) {
    const bool idle = !RunExists();
    const bool tableRead = stDeviceCoins.IsDeviceListValid();
    for (const UINT id : kTableCommands) EnableMenuCommand(menu, id, idle && tableRead);
    for (const UINT id : kIdleCommands) EnableMenuCommand(menu, id, idle);
}

void MainWindow::onListNotification(const NMHDR& header) {
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
        if (deviceCommandsAllowed()) EnableWindow(item(IDC_EDIT_SELECTED_COIN), TRUE);
    } else if (header.code == LVN_ITEMACTIVATE && deviceCommandsAllowed()) {
        editSelectedCoin();
    }
}

void MainWindow::refreshCoinList() { FillCoinListView(item(IDC_DEVICE_COIN_LIST), stDeviceCoins.GetDeviceCoins()); }
