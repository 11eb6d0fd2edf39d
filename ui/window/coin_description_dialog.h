// The coin description dialog: shows the description just loaded from a
// coin description file and writes its image into the acceptor (sub-command
// 1). Nothing in it can be edited.
#pragma once

#include "ui/window/static_dialog.h"

class CoinDescriptionDialog : public StaticDialog {
public:
    // Modal; shows CurrentCoinDescription.
    void Open(HINSTANCE instance, HWND mainWindow);

private:
    void OnInit() override;
    void OnOk() override;
};
