#include "ui/window/program_icon.h"

#include "ui/window/res/program_icon_id.h"

namespace {

void SetIcon(HWND window, HINSTANCE instance, WPARAM kind, int sideMetric) {
    const int side = GetSystemMetrics(sideMetric);
    // Shared: the system frees it with the program.
    const HANDLE icon = LoadImageA(instance, MAKEINTRESOURCEA(IDI_DUCAT_CONSOLE), IMAGE_ICON, side, side, LR_SHARED);
    if (icon != nullptr) SendMessageA(window, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
}

} // namespace

void ShowProgramIcon(HWND window, HINSTANCE instance) {
    SetIcon(window, instance, ICON_BIG, SM_CXICON);
    SetIcon(window, instance, ICON_SMALL, SM_CXSMICON);
}
