// Pollbench's main window: the core's fields bound to the controls, the poll
// and flash timers, and the operator's commands.
#pragma once

#include "demo/core/demo_core.h"
#include "demo/window/dialog_base.h"

class CDemoDlg : public CDialogBase {
public:
    // The core's driver traces through `trace`, the program's trace.
    explicit CDemoDlg(CCctDriver::TraceHook trace);
    ~CDemoDlg() override;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD code) override;
    void OnTimer(UINT_PTR id) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void OnCancel() override;
    void DoDataExchange(CDataExchange& dx) override;

private:
    // Opening.
    void AddSystemMenuEntries();
    void SetIcons();
    void CreateLargeFont();
    void ConnectHooks();

    // What the core asks of the window.
    void RepaintStatus();
    void ShowControls();
    void ShowActivity();
    void ShowOutletPictures(uint8_t activeBits);
    void SetPollTimer(uint32_t ms);

    // Commands.
    bool OnCoinRowCommand(WORD id, WORD code);
    bool OnOutletFullCommand(WORD id, WORD code);
    bool OnButtonCommand(WORD id);
    void OnSortBoxLeft(int position);
    void OnDefaultPathChanged();
    void OnMasterInhibit();
    void OnSetAcceptLimit();
    void OnQuit();
    void RunOptions();
    void RunTeaching();
    void RunAbout();
    void StopTimersAndPort();
    bool PaintIconWhenMinimised();
    bool ColourOnPicture(HDC dc, HWND control, INT_PTR& result);

    CDemoCore core_;
    HFONT largeFont_ = nullptr;
    HICON icon_ = nullptr;
};
