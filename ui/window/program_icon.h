// Ducat Console's icon on its main window.
#ifndef UI_WINDOW_PROGRAM_ICON_H
#define UI_WINDOW_PROGRAM_ICON_H

#include <windows.h>

// A dialog has no class icon: gives the window the program's icon for its
// title bar (small) and the task switcher (large).
void ShowProgramIcon(HWND window, HINSTANCE instance);

#endif
