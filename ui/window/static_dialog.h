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
    HWND CreateModeless(HINSTANCE instance, int templateId, HWND owner);
    // Modal: returns the value given to Close(), or -1 when it failed.
    INT_PTR RunModal(HINSTANCE instance, int templateId, HWND owner);

    // Null while the dialog does not exist.
    HWND Handle() const { return hwnd_; }
    // Brings an open dialog to the front; false when it is not open.
    bool Activate() const;

protected:
    // Returns TRUE when the message was handled, as a dialog procedure does.
    // By default: WM_INITDIALOG calls OnInit, IDOK OnOk, IDCANCEL (also
    // Escape and the close box) OnCancel.
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void OnInit() {}
    virtual void OnOk() {}
    virtual void OnCancel() { Finish(IDCANCEL); }

    // Ends a modal dialog or destroys a modeless one.
    void Close(INT_PTR result);
    // Closes and gives the keyboard focus back to the owner.
    void Finish(INT_PTR result);
    HWND Owner() const { return owner_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr;
    bool modal_ = false;
};
