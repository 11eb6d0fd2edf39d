// The about box.
#pragma once

#include "demo/window/dialog_base.h"
#include "demo/window/resource.h"

class CAboutDlg : public CDialogBase {
public:
    explicit CAboutDlg(HWND owner) : CDialogBase(IDD_ABOUTBOX, owner) {}
};
