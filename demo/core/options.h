// Pollbench's options: the four settings kept in the user's settings store,
// and the rules of the Options dialog that are not a window.
#pragma once

#include "platform/settings_store.h"

#include <array>
#include <cstdint>

// Where the settings live: Software\VXL\Pollbench, section "Options".
constexpr char kSettingsCompany[] = "VXL";
constexpr char kSettingsProgram[] = "Pollbench";
constexpr char kOptionsSection[] = "Options";

// Reads g_ComPort, g_PollInterval, g_DeviceAddress and g_Flags in that order;
// a value that is missing or unreadable gives the setting's default.
void LoadSettings(platform::SettingsStore& store);
// Writes the four settings in the same order.
void SaveSettings(platform::SettingsStore& store);

// The Polling list's entries, in milliseconds.
constexpr std::array<int, 8> kPollIntervalEntries = {100, 200, 300, 400, 500, 600, 800, 1000};
constexpr int kNoEntrySelected = -1;

// The entry showing `intervalMs`; entry 0 when no entry does.
int PollIntervalEntry(int intervalMs);
// The interval of an entry; that of entry 0 with no valid selection.
int PollIntervalOfEntry(int entry);

// The Options dialog's fields.
struct OptionsFields {
    uint8_t comPort = 0;
    uint8_t address = 0;
    int intervalEntry = 0;
    int longSorter = 0; // the "use sorter long command " box, 0/1
};

// The fields as the dialog opens, from the settings.
OptionsFields OptionsFromSettings();
// "OK": the fields become the settings. Addresses 0 and 1 (the host's own and
// the broadcast) are not taken; the flags keep only the long-sorter bit.
void ApplyOptions(const OptionsFields& fields);
