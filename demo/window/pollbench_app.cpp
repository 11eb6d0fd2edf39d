// Pollbench's start: the settings from the user's store, then the main
// window, run modally; when it ends, the program ends.
#include "demo/options.h"
#include "demo/window/main_dialog.h"

#include <commctrl.h>
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    InitCommonControls();
    auto store = platform::OpenUserSettings(kSettingsCompany, kSettingsProgram);
    LoadSettings(*store);
    CDemoDlg dialog;
    dialog.DoModal();
    return 0;
}
