// The status line's history (a double click on the status line): the last
// 500 lines with their times in a read-only box, newest at the bottom.
#pragma once

#include "ui/window/static_dialog.h"

#include <string>

class StatusHistoryDialog : public StaticDialog {
public:
    // Modal: the lines do not change while it is open.
    void Open(HINSTANCE instance, HWND mainWindow, const std::string& text);

private:
    void OnInit() override;

    std::string text_;
};
