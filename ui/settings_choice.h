// What the main settings dialog decides that is no window work: the port
// it preselects on opening.
#pragma once

#include <cstdint>

// On opening, with `portsFound` ports in the list: after a start without a
// readable configuration, and until the operator has saved the settings once,
// iPortIndex becomes the last port found (0 when none); otherwise it stays.
void ChoosePortOnOpening(int32_t portsFound);

// "Save" was pressed: the operator's own choice is kept from then on.
void NoteSettingsSaved();
