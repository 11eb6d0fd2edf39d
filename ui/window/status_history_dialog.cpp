#include "ui/window/status_history_dialog.h"

#include "ui/window/dialog_text.h"
#include "ui/window/resource.h"

void StatusHistoryDialog::Open(HINSTANCE instance, HWND mainWindow, const std::string& text) {
    text_ = text;
    RunModal(instance, IDD_STATUS_HISTORY, mainWindow);
    text_.clear();
}

void StatusHistoryDialog::OnInit() {
    const HWND box = Item(IDC_STATUS_HISTORY_TEXT);
    // 500 lines of up to 299 characters are more than an edit takes by default.
    SendMessageA(box, EM_SETLIMITTEXT, 0, 0);
    SetItemText(Handle(), IDC_STATUS_HISTORY_TEXT, text_);
    // The newest line is the one looked for: shown, not selected.
    const auto end = static_cast<WPARAM>(text_.size());
    SendMessageA(box, EM_SETSEL, end, static_cast<LPARAM>(end));
    SendMessageA(box, EM_SCROLLCARET, 0, 0);
}
