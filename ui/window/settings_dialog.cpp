#include "ui/window/settings_dialog.h"

#include "coindata/records/config_state.h"
#include "link/command_mailbox.h"
#include "link/port_settings.h"
#include "ui/parameter_clamping.h"
#include "ui/settings_choice.h"
#include "ui/window/dialog_text.h"
#include "ui/window/resource.h"

#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kProtocols[] = {"ccTalk_Coin"};
constexpr int kAddressChars = 20;

void AddEntry(HWND dialog, int list, const std::string& text) {
    SendDlgItemMessageA(dialog, list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// An index beyond the list leaves nothing selected.
void Select(HWND dialog, int list, int32_t index) {
    SendDlgItemMessageA(dialog, list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// The selected entry, or -1 when none is.
int Selected(HWND dialog, int list) {
    const LRESULT index = SendDlgItemMessageA(dialog, list, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

} // namespace

void SettingsDialog::Open(HINSTANCE instance, HWND mainWindow) {
    RunModal(instance, IDD_MAIN_SETTINGS, mainWindow);
}

void SettingsDialog::OnInit() {
    const HWND dialog = Handle();
    const std::vector<std::string> ports = ScanComPorts();
    for (const std::string& port : ports) AddEntry(dialog, IDC_PORT_LIST, port);
    ChoosePortOnOpening(static_cast<int32_t>(ports.size()));
    Select(dialog, IDC_PORT_LIST, iPortIndex);

    for (const uint32_t speed : SpeedTable) AddEntry(dialog, IDC_SPEED_LIST, std::to_string(speed));
    Select(dialog, IDC_SPEED_LIST, iSpeedIndex);

    for (const char* protocol : kProtocols) AddEntry(dialog, IDC_PROTOCOL_LIST, protocol);
    Select(dialog, IDC_PROTOCOL_LIST, iProtocolIndex);

    LimitItemText(dialog, IDC_NETWORK_ADDRESS, kAddressChars);
    SetItemNumber(dialog, IDC_NETWORK_ADDRESS,
                  static_cast<int>(Mailbox.bDeviceAddress.load(std::memory_order_acquire)));
}

void SettingsDialog::OnOk() {
    const HWND dialog = Handle();
    const int port = Selected(dialog, IDC_PORT_LIST);
    if (port >= 0 && port < ComPortTable.count) {
        SetPortName(ComPortTable.entries[port]);
        iPortIndex = port;
    }
    const int speed = Selected(dialog, IDC_SPEED_LIST);
    if (speed >= 0) {
        iSpeedIndex = speed;
        dwBaudRate = SpeedForIndex(speed);
    }
    const int protocol = Selected(dialog, IDC_PROTOCOL_LIST);
    if (protocol >= 0) iProtocolIndex = protocol;
    const std::optional<uint8_t> address = AddressFromField(ItemText(dialog, IDC_NETWORK_ADDRESS).c_str());
    if (address) Mailbox.bDeviceAddress.store(*address, std::memory_order_release);
    NoteSettingsSaved();
    Finish(IDOK);
}
