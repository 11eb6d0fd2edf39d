// The Coin Teaching dialog over the main window's driver.
#pragma once

#include "demo/core/teach.h"
#include "demo/window/dialog_base.h"

class CTeachDlg : public CDialogBase {
public:
    CTeachDlg(HWND owner, CCctDriver& driver);

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD code) override;
    void OnTimer(UINT_PTR id) override;
    void OnOK() override;
    void OnCancel() override;

private:
    void OnStartOrAbort();
    void ShowState();
    void Close();

    CTeachCore teach_;
};
