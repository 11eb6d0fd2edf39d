// The divider and inherit dialog (Divider_Edit_DlgProc): the error divider
// and the allowed flag of the selected coin table row, written at once with
// sub-command 6.
#pragma once

#include "ui/window/static_dialog.h"

#include <cstdint>

class DividerDialog : public StaticDialog {
public:
    // Modal, for row iSelectedDeviceCoin.
    void Open(HINSTANCE instance, HWND mainWindow);

private:
    void OnInit() override;
    void OnOk() override;

    int32_t row_ = -1;
};
