// "Main Settings": port, line speed, protocol and acceptor address. Saving
// changes the values in memory; the next run opens the port with them.
#pragma once

#include "ui/window/static_dialog.h"

class SettingsDialog : public StaticDialog {
public:
    // Modal; returns when the operator saves or cancels.
    void Open(HINSTANCE instance, HWND mainWindow);

private:
    void OnInit() override;
    void OnOk() override;

};
