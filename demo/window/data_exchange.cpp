#include "demo/window/data_exchange.h"

#include "demo/texts/number_field.h"

#include <vector>

namespace {
constexpr char kMessageCaption[] = "Pollbench";
} // namespace

std::string CDataExchange::ControlText(int id) const {
    const HWND control = GetDlgItem(m_hDialog, id);
    const int length = GetWindowTextLengthA(control);
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(control, text.data(), length + 1);
    return std::string(text.data());
}

void CDataExchange::Fail(int id, const char* message) {
    m_bFailed = true;
    MessageBoxA(m_hDialog, message, kMessageCaption, MB_OK | MB_ICONEXCLAMATION);
    const HWND control = GetDlgItem(m_hDialog, id);
    SetFocus(control);
    SendMessageA(control, EM_SETSEL, 0, -1);
}

void CDataExchange::Text(int id, std::string& field) {
    if (Skip()) return;
    if (m_bTake) {
        field = ControlText(id);
    } else if (ControlText(id) != field) {
        // Unchanged boxes are left alone so the caret stays where the operator put it.
        SetDlgItemTextA(m_hDialog, id, field.c_str());
    }
}

void CDataExchange::Byte(int id, uint8_t& field) {
    if (Skip()) return;
    if (!m_bTake) {
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
    if (!m_bTake) {
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
    if (m_bTake) {
        field = IsDlgButtonChecked(m_hDialog, id) == BST_CHECKED ? 1 : 0;
    } else {
        CheckDlgButton(m_hDialog, id, field != 0 ? BST_CHECKED : BST_UNCHECKED);
    }
}

void CDataExchange::ComboIndex(int id, int& field) {
    if (Skip()) return;
    if (m_bTake) {
        field = static_cast<int>(SendDlgItemMessageA(m_hDialog, id, CB_GETCURSEL, 0, 0));
    } else {
        SendDlgItemMessageA(m_hDialog, id, CB_SETCURSEL, static_cast<WPARAM>(field), 0);
    }
}
