// A small modal dialog over a resource template: the dialog procedure finds
// its object through the window's user data and hands messages to virtual
// operations; "refresh" and "take the fields" run the derived class's data
// exchange in either direction.
#pragma once

#include "demo/window/data_exchange.h"

#include <windows.h>

class CDialogBase {
public:
    CDialogBase(UINT templateId, HWND owner) : parent(owner), templateId_(templateId) {}
    virtual ~CDialogBase() = default;
    CDialogBase(const CDialogBase&) = delete;
    CDialogBase& operator=(const CDialogBase&) = delete;

    // Runs the dialog until EndDialog; returns its result (IDOK, IDCANCEL, -1).
    INT_PTR DoModal();

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    // True when the command was handled.
    virtual bool OnCommand(WORD /*id*/, WORD /*code*/) { return false; }
    virtual void OnTimer(UINT_PTR /*id*/) {}
    // Any other message; true when handled, with the procedure's result in `result`.
    virtual bool OnMessage(UINT /*msg*/, WPARAM /*wParam*/, LPARAM /*lParam*/, INT_PTR& /*result*/) { return false; }
    virtual void OnOK();
    virtual void OnCancel() { EndDialog(window, IDCANCEL); }
    // Binds the fields to the controls, in both directions.
    virtual void DoDataExchange(CDataExchange& /*dx*/) {}

    // Copies every field into its control.
    void Refresh();
    // Copies the controls into the fields; false (the operator was told) when
    // a box does not hold its kind of number.
    bool TakeFields();
    // True while a refresh or a take runs: notifications of the controls
    // they change are not the operator's.
    bool Exchanging() const { return exchanging_; }

    HWND Item(int id) const { return GetDlgItem(window, id); }
    void Show(int id, bool visible) const { ShowWindow(Item(id), visible ? SW_SHOW : SW_HIDE); }

    HWND window = nullptr;
    HWND parent;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    bool Exchange(bool take);

    UINT templateId_;
    bool exchanging_ = false;
};
