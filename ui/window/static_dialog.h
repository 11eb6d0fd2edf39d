// A dialog made from a resource template, with its procedure routed to a
// C++ object: the object's address travels in the WM_INITDIALOG parameter
// and is kept in the window's GWLP_USERDATA from then on.
#pragma once

#include <windows.h>

class StaticDialog {
public:
    StaticDialog() = default;
    StaticDialog(const StaticDialog&) = delete;
    StaticDialog& operator=(const StaticDialog&) = delete;
    virtual ~StaticDialog();

    // Modeless: returns the window, or null when it could not be made.
    HWND createModeless(HINSTANCE instance, int templateId, HWND owner);
    // Modal: returns the value given to close(), or -1 when it failed.
    INT_PTR runModal(HINSTANCE instance, int templateId, HWND owner);

    // Null while the dialog does not exist.
    HWND handle() const { return hwnd_; }
    // Brings an open dialog to the front; false when it is not open.
    bool activate() const;

protected:
    // Returns TRUE when the message was handled, as a dialog procedure does.
    // By default: WM_INITDIALOG calls onInit, IDOK onOk, IDCANCEL (also
    // Escape and the close box) onCancel.
    virtual INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void onInit() {}
    virtual void onOk() {}
    virtual void onCancel() { finish(IDCANCEL); }

    // Ends a modal dialog or destroys a modeless one.
    void close(INT_PTR result);
    // Closes and gives the keyboard focus back to the owner.
    void finish(INT_PTR result);
    HWND owner() const { return owner_; }
    HWND item(int id) const { return GetDlgItem(hwnd_, id); }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr;
    bool modal_ = false;
};
