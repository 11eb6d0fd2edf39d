// Pollbench's start: the settings from the user's store, then the main
// window, run modally; when it ends, the program ends.
#include "demo/core/options.h"
#include "demo/trace/program_trace.h"
#include "demo/window/main_dialog.h"
#include "platform/trace_file.h"

#include <commctrl.h>
#include <windows.h>

namespace {

// Pollbench.exe --trace FILE: the driver's trace hook into FILE. Before the
// window exists, so the hook handed to its driver writes the file.
void StartTraceFromCommandLine(const char* commandLine) {
    std::string path;
    std::string error;
    if (platform::FindTraceSwitch(commandLine != nullptr ? commandLine : "", path, error) &&
        (path.empty() || StartProgramTrace(path, error))) {
        return;
    }
    MessageBoxA(nullptr, error.c_str(), "Pollbench", MB_OK | MB_ICONWARNING);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    StartTraceFromCommandLine(commandLine);
    InitCommonControls();
    auto store = platform::OpenUserSettings(kSettingsCompany, kSettingsProgram);
    LoadSettings(*store);
    CDemoDlg dialog(ProgramTraceHook());
    dialog.DoModal();
    return 0;
}
