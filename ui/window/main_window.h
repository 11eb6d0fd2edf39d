// Ducat Console's main window: a modeless dialog with the acceptor's
// identity, its coin list, the live coin results and the status line. It
// starts and stops runs of the service thread and opens the other dialogs.
#pragma once

#include "ui/run_watch.h"
#include "ui/status_history.h"
#include "ui/window/coin_description_dialog.h"
#include "ui/window/divider_dialog.h"
#include "ui/window/max_errors_dialog.h"
#include "ui/window/result_fonts.h"
#include "ui/window/settings_dialog.h"
#include "ui/window/static_dialog.h"
#include "ui/window/status_history_dialog.h"

#include <string>

class MainWindow : public StaticDialog {
public:
    explicit MainWindow(HINSTANCE instance) : instance_(instance) {}

    // Creates the window, which at once loads the data files and presses
    // its own START. Null when the window could not be made.
    HWND Create();

private:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // main_window.cpp: life and timer.
    void Initialise();
    void LoadDataFiles();
    void SetTitle();
    void OnTimer();
    RunWatch::LineHandler StatusLineKeeper(std::string& last);
    void DrainStatusLines();
    void ShowStatusHistory();
    void ShowResult(const PublishedCoinResult& shown);
    void Destroy();

    // main_window_commands.cpp: buttons, menu, list.
    bool OnCommand(int id, int notification);
    void Start();
    void Stop();
    void EditSelectedCoin();
    void UpdateCoinDescription();
    void ConfirmExit();
    void OnMenuOpening(HMENU menu);
    void OnListNotification(const NMHDR& header);
    void RefreshCoinList();
    bool DeviceCommandsAllowed() const;

    HINSTANCE instance_;
    ResultFonts fonts_;
    std::string currentDirectory_; // restored after every file box
    SettingsDialog settings_;
    DividerDialog divider_;
    MaxErrorsDialog maxErrors_;
    CoinDescriptionDialog coinDescription_;
    RunWatch watch_;              // the runs' lines, results and end, every 100 ms
    StatusHistory statusHistory_; // the lines drained on this thread
    StatusHistoryDialog statusHistoryDialog_;
};
