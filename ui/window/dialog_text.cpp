#include "ui/window/dialog_text.h"


std::string ItemText(HWND dialog, int id) {
    const HWND item = GetDlgItem(dialog, id);
    const int length = GetWindowTextLengthA(item);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(item, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

void SetItemText(HWND dialog, int id, const std::string& text) { SetDlgItemTextA(dialog, id, text.c_str()); }

void SetItemNumber(HWND dialog, int id, int value) { SetItemText(dialog, id, std::to_string(value)); }

void LimitItemText(HWND dialog, int id, int characters) {
    SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, static_cast<WPARAM>(characters), 0);
}
