// The maximum errors and dividers dialog (MaxErrors_DlgProc): the
// acceptor-wide Max_Error, NNet_Divider and Numb_Stand_Dev, written at once
// with sub-command 7.
#pragma once

#include "ui/window/static_dialog.h"

class MaxErrorsDialog : public StaticDialog {
public:
    // Modal. The main window offers it only while no run exists.
    void Open(HINSTANCE instance, HWND mainWindow);

private:
    void OnInit() override;
    void OnOk() override;

};
