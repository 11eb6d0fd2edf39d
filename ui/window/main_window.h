// Ducat Console's main window: a modeless dialog with the acceptor's
// identity, its coin list, the live coin results and the status line. It
// starts and stops runs of the service thread and opens the other dialogs.
#pragma once

#include "ui/window/coin_description_dialog.h"
#include "ui/window/divider_dialog.h"
#include "ui/window/max_errors_dialog.h"
#include "ui/window/result_fonts.h"
#include "ui/window/settings_dialog.h"
#include "ui/window/static_dialog.h"

#include <string>

class MainWindow : public StaticDialog {
public:
    explicit MainWindow(HINSTANCE instance) : instance_(instance) {}

    // Creates the window, which at once loads the data files and presses
    // its own START. Null when the window could not be made.
    HWND create();

private:
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // main_window.cpp: life and timer.
    void initialise();
    void loadDataFiles();
    void setTitle();
    void onTimer();
    void drainStatusLines();
    void noticeRunEnd();
    void showNewResult();
    void destroy();

    // main_window_commands.cpp: buttons, menu, list.
    bool onCommand(int id);
    void start();
    void stop();
    void editSelectedCoin();
    void updateCoinDescription();
    void confirmExit();
    void onMenuOpening(HMENU menu);
    void onListNotification(const NMHDR& header);
    void refreshCoinList();
    bool deviceCommandsAllowed() const;

    HINSTANCE instance_;
    ResultFonts fonts_;
    std::string currentDirectory_; // restored after every file box
    SettingsDialog settings_;
    DividerDialog divider_;
    MaxErrorsDialog maxErrors_;
    CoinDescriptionDialog coinDescription_;
};
