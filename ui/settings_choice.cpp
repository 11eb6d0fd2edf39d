#include "ui/settings_choice.h"

#include "coindata/records/config_state.h"
#include "link/port_settings.h"

void ChoosePortOnOpening(int32_t portsFound) {
    if (bConfigDefaults != 1) return;
    iPortIndex = portsFound > 0 ? portsFound - 1 : 0;
}

// Saved settings are the operator's, no longer defaults: a later opening
// must not move a chosen COM1 back to the last port.
void NoteSettingsSaved() { bConfigDefaults = 0; }
