#include "demo/window/dialog_base.h"

INT_PTR CDialogBase::DoModal() {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

// The object arrives with WM_INITDIALOG and is kept in the window's user
// data; messages before that one have no object yet and go unhandled.
INT_PTR CALLBACK CDialogBase::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CDialogBase*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, lParam);
        self->window = hwnd;
        return self->OnInitDialog();
    }
    auto* self = reinterpret_cast<CDialogBase*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self == nullptr) return FALSE;
    return self->Dispatch(msg, wParam, lParam);
}

INT_PTR CDialogBase::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND: {
        const WORD id = LOWORD(wParam);
        const WORD code = HIWORD(wParam);
        if (OnCommand(id, code)) return TRUE;
        if (id == IDOK && code == BN_CLICKED) {
            OnOK();
            return TRUE;
        }
        if (id == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
        return FALSE;
    }
    case WM_TIMER:
        OnTimer(wParam);
        return TRUE;
    default: {
        INT_PTR result = FALSE;
        return OnMessage(msg, wParam, lParam, result) ? result : FALSE;
    }
    }
}

void CDialogBase::OnOK() {
    if (TakeFields()) EndDialog(window, IDOK);
}

void CDialogBase::Refresh() { Exchange(false); }

bool CDialogBase::TakeFields() { return Exchange(true); }

bool CDialogBase::Exchange(bool take) {
    exchanging_ = true;
    CDataExchange dx(window, take);
    DoDataExchange(dx);
    exchanging_ = false;
    return !dx.Failed();
}
