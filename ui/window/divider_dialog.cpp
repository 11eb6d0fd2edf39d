#include "ui/window/divider_dialog.h"

#include "coindata/records/device_coin_table.h"
#include "link/com_thread.h"
#include "link/command_mailbox.h"
#include "platform/beep.h"
#include "ui/starters.h"
#include "ui/window/dialog_text.h"
#include "ui/window/resource.h"

#include <cstdio>

namespace {

constexpr uint32_t kBusyBeepHz = 2000;
constexpr uint32_t kBusyBeepMs = 200;
constexpr size_t kCaptionChars = 499;
// The quotation marks around the coin belong to the caption.
constexpr const char* kCaptionFormat = "Editing Divider or Inherit parameters for \"%s\" coin";

} // namespace

void DividerDialog::Open(HINSTANCE instance, HWND mainWindow) {
    row_ = Mailbox.iSelectedDeviceCoin.load(std::memory_order_acquire);
    if (row_ < 0 || row_ >= kDeviceCoinRows) return;
    RunModal(instance, IDD_DIVIDER_EDIT, mainWindow);
}

void DividerDialog::OnInit() {
    const HWND dialog = Handle();
    const DeviceCoinEntry entry = stDeviceCoins.GetDeviceCoins()[static_cast<size_t>(row_)];
    SetItemNumber(dialog, IDC_ERROR_DIVIDER, entry.iErrorDivider);
    CheckDlgButton(dialog, IDC_INHERIT, entry.bInherit != 0 ? BST_CHECKED : BST_UNCHECKED);
    char caption[kCaptionChars + 1];
    std::snprintf(caption, sizeof caption, kCaptionFormat, entry.szCoinId);
    SetWindowTextA(dialog, caption);
}

void DividerDialog::OnOk() {
    const HWND dialog = Handle();
    const bool started = StartDividerEdit(row_, ItemText(dialog, IDC_ERROR_DIVIDER).c_str(),
                                          IsDlgButtonChecked(dialog, IDC_INHERIT) == BST_CHECKED);
    // Refused because a run exists: the dialog stays open. A thread that
    // did not start leaves no run, and the dialog closes as after a start.
    if (!started && RunExists()) {
        platform::Beep(kBusyBeepHz, kBusyBeepMs);
        return;
    }
    Finish(IDOK);
}
