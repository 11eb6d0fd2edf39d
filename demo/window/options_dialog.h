// The Options dialog: port, poll interval, address and the long sorter
// command, with the port search.
#pragma once

#include "demo/core/options.h"
#include "demo/window/dialog_base.h"

class COptionsDlg : public CDialogBase {
public:
    explicit COptionsDlg(HWND owner);

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD code) override;
    void OnOK() override;
    void DoDataExchange(CDataExchange& dx) override;

private:
    void FillPollingList();
    void OnSearch();

    OptionsFields fields_;
};
