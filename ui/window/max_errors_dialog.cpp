#include "ui/window/max_errors_dialog.h"

#include "coindata/records/device_coin_table.h"
#include "ui/starters.h"
#include "ui/window/dialog_text.h"
#include "ui/window/resource.h"

namespace {

constexpr int kMaxErrorChars = 3;
constexpr int kNNetDividerChars = 3;
constexpr int kNumbStandDevChars = 32;

} // namespace

void MaxErrorsDialog::Open(HINSTANCE instance, HWND mainWindow) {
    RunModal(instance, IDD_MAX_ERRORS, mainWindow);
}

void MaxErrorsDialog::OnInit() {
    const HWND dialog = Handle();
    LimitItemText(dialog, IDC_MAX_ERROR, kMaxErrorChars);
    LimitItemText(dialog, IDC_NNET_DIVIDER, kNNetDividerChars);
    LimitItemText(dialog, IDC_NUMB_STAND_DEV, kNumbStandDevChars);
    const AcceptanceParameters params = stDeviceCoins.GetAcceptanceParams();
    SetItemNumber(dialog, IDC_MAX_ERROR, params.Max_Error);
    SetItemNumber(dialog, IDC_NNET_DIVIDER, params.NNet_Divider);
    SetItemNumber(dialog, IDC_NUMB_STAND_DEV, params.Numb_Stand_Dev);
}

void MaxErrorsDialog::OnOk() {
    const HWND dialog = Handle();
    StartMaxErrorsEdit(ItemText(dialog, IDC_MAX_ERROR).c_str(), ItemText(dialog, IDC_NNET_DIVIDER).c_str(),
                       ItemText(dialog, IDC_NUMB_STAND_DEV).c_str());
    Finish(IDOK);
}
