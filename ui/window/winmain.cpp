// Ducat Console's entry point: the main window and the message loop.
#include "commands/trace/program_wire_trace.h"
#include "platform/trace_file.h"
#include "ui/window/main_window.h"

#include <commctrl.h>

namespace {

// "Ducat Console.exe" --trace FILE: every frame of the link into FILE.
void StartTraceFromCommandLine(const char* commandLine) {
    std::string path;
    std::string error;
    if (platform::FindTraceSwitch(commandLine != nullptr ? commandLine : "", path, error) &&
        (path.empty() || StartDucatTrace(path, error))) {
        return;
    }
    MessageBoxA(nullptr, error.c_str(), "Ducat Console", MB_OK | MB_ICONWARNING);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    StartTraceFromCommandLine(commandLine);
    // The list view's class must exist before the main window's template
    // is turned into controls.
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_LISTVIEW_CLASSES;
    InitCommonControlsEx(&controls);

    MainWindow window(instance);
    const HWND created = window.Create();
    if (created == nullptr) return 0;
    ShowWindow(created, SW_SHOW);

    MSG message;
    BOOL got;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) != 0) {
        if (got == -1) continue;
        const HWND main = window.Handle();
        if (main != nullptr && IsDialogMessageA(main, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
