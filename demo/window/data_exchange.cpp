#include "demo/window/data_exchange.h"

#include "demo/texts/number_field.h"

#include <vector>

namespace {
constexpr char kMessageCaption[] = "Pollbench";
} // namespace

std::string CDataExchange::ControlText(int id) const {
    const HWND control = GetDlgItem(dialog_, id);
    const int length = GetWindowTextLengthA(control);
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(control, text.data(), length + 1);
    return std::string(text.data());
}

void CDataExchange::Fail(int id, const char* message) {
    failed_ = true;
    MessageBoxA(dialog_, message, kMessageCaption, MB_OK | MB_ICONEXCLAMATION);
    const HWND control = GetDlgItem(dialog_, id);
    SetFocus(control);
    SendMessageA(control, EM_SETSEL, 0, -1);
}

void CDataExchange::Text(int id, std::string& field) {
    if (Skip()) return;
    if (take_) {
        field = ControlText(id);
    } else if (ControlText(id) != field) {
        // Unchanged boxes are left alone so the caret stays where the operator put it.
        SetDlgItemTextA(dialog_, id, field.c_str());
    }
}

void CDataExchange::Byte(int id, uint8_t& field) {
    if (Skip()) return;
    if (!take_) {
        std::string text = std::to_string(field);
        Text(id, text);
        return;
    }
    const auto value = ParseByteField(ControlText(id));
    if (value) {
        field = *value;
    } else {
        Fail(id, kByteFieldMessage);
    }
}

void CDataExchange::Unsigned(int id, unsigned& field) {
    if (Skip()) return;
    if (!take_) {
        std::string text = std::to_string(field);
        Text(id, text);
        return;
    }
    const auto value = ParseUnsignedField(ControlText(id));
    if (value) {
        field = *value;
    } else {
        Fail(id, kUnsignedFieldMessage);
    }
}

void CDataExchange::Check(int id, int& field) {
    if (Skip()) return;
    if (take_) {
        field = IsDlgButtonChecked(dialog_, id) == BST_CHECKED ? 1 : 0;
    } else {
        CheckDlgButton(dialog_, id, field != 0 ? BST_CHECKED : BST_UNCHECKED);
    }
}

void CDataExchange::ComboIndex(int id, int& field) {
    if (Skip()) return;
    if (take_) {
        field = static_cast<int>(SendDlgItemMessageA(dialog_, id, CB_GETCURSEL, 0, 0));
    } else {
        SendDlgItemMessageA(dialog_, id, CB_SETCURSEL, static_cast<WPARAM>(field), 0);
    }
}
