#include "ui/window/static_dialog.h"

StaticDialog::~StaticDialog() {
    // A modeless dialog must not outlive its object: its procedure would
    // reach a dead one.
    if (hwnd_ != nullptr && !modal_) DestroyWindow(hwnd_);
}

HWND StaticDialog::CreateModeless(HINSTANCE instance, int templateId, HWND owner) {
    modal_ = false;
    owner_ = owner;
    return CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), owner, DialogProc,
                              reinterpret_cast<LPARAM>(this));
}

INT_PTR StaticDialog::RunModal(HINSTANCE instance, int templateId, HWND owner) {
    modal_ = true;
    owner_ = owner;
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), owner, DialogProc, reinterpret_cast<LPARAM>(this));
}

bool StaticDialog::Activate() const {
    if (hwnd_ == nullptr) return false;
    SetActiveWindow(hwnd_);
    return true;
}

void StaticDialog::Close(INT_PTR result) {
    if (modal_) {
        EndDialog(hwnd_, result);
    } else {
        DestroyWindow(hwnd_);
    }
}

void StaticDialog::Finish(INT_PTR result) {
    Close(result);
    if (owner_ != nullptr) SetFocus(owner_);
}

INT_PTR StaticDialog::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        OnInit();
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        OnOk();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK StaticDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<StaticDialog*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, lParam);
        self->hwnd_ = hwnd;
        return self->OnMessage(message, wParam, lParam);
    }
    auto* self = reinterpret_cast<StaticDialog*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    // Messages that come before WM_INITDIALOG (WM_SETFONT) have no object yet.
    if (self == nullptr) return FALSE;
    const INT_PTR handled = self->OnMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return handled;
}
