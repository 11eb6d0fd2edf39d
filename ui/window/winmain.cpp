// Ducat Console's entry point: the main window and the message loop.
#include "ui/window/main_window.h"

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The list view's class must exist before the main window's template
    // is turned into controls.
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_LISTVIEW_CLASSES;
    InitCommonControlsEx(&controls);

    MainWindow window(instance);
    const HWND created = window.create();
    if (created == nullptr) return 0;
    ShowWindow(created, SW_SHOW);

    MSG message;
    BOOL got;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) != 0) {
        if (got == -1) continue;
        const HWND main = window.handle();
        if (main != nullptr && IsDialogMessageA(main, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
