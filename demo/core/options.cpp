#include "demo/core/options.h"

#include "demo/core/settings.h"
#include "demo/driver/pollbench_defaults.h"

namespace {
constexpr char kComPortValue[] = "ComPort";
constexpr char kPollIntervalValue[] = "PollIntervall";
constexpr char kDeviceAddressValue[] = "DeviceAddress";
constexpr char kFlagsValue[] = "Flags";

// Addresses at or below this one are not a device's.
constexpr uint8_t kLastReservedAddress = 1;

uint32_t ReadOr(platform::SettingsStore& store, const char* name, uint32_t fallback) {
    return store.ReadNumber(kOptionsSection, name).value_or(fallback);
}
} // namespace

// Stored numbers are 32-bit; the narrow settings keep their low bits as a
// plain integer conversion does.
void LoadSettings(platform::SettingsStore& store) {
    g_ComPort = static_cast<uint8_t>(ReadOr(store, kComPortValue, kDefaultComPort));
    g_PollInterval = static_cast<int>(ReadOr(store, kPollIntervalValue, kDefaultPollIntervalMs));
    g_DeviceAddress = static_cast<uint8_t>(ReadOr(store, kDeviceAddressValue, kDefaultDeviceAddress));
    g_Flags = static_cast<int>(ReadOr(store, kFlagsValue, kDefaultFlags));
}

void SaveSettings(platform::SettingsStore& store) {
    store.WriteNumber(kOptionsSection, kComPortValue, g_ComPort);
    store.WriteNumber(kOptionsSection, kPollIntervalValue, static_cast<uint32_t>(g_PollInterval));
    store.WriteNumber(kOptionsSection, kDeviceAddressValue, g_DeviceAddress);
    store.WriteNumber(kOptionsSection, kFlagsValue, static_cast<uint32_t>(g_Flags));
}

int PollIntervalEntry(int intervalMs) {
    for (size_t i = 0; i < kPollIntervalEntries.size(); ++i) {
        if (kPollIntervalEntries[i] == intervalMs) return static_cast<int>(i);
    }
    return 0;
}

int PollIntervalOfEntry(int entry) {
    if (entry < 0 || entry >= static_cast<int>(kPollIntervalEntries.size())) return kPollIntervalEntries[0];
    return kPollIntervalEntries[static_cast<size_t>(entry)];
}

OptionsFields OptionsFromSettings() {
    OptionsFields fields;
    fields.comPort = g_ComPort;
    fields.address = g_DeviceAddress;
    fields.intervalEntry = PollIntervalEntry(g_PollInterval);
    fields.longSorter = (g_Flags & FLAG_LONG_SORTER) != 0;
    return fields;
}

void ApplyOptions(const OptionsFields& fields) {
    if (fields.address > kLastReservedAddress) g_DeviceAddress = fields.address;
    g_ComPort = fields.comPort;
    g_PollInterval = PollIntervalOfEntry(fields.intervalEntry);
    g_Flags = fields.longSorter != 0 ? FLAG_LONG_SORTER : 0;
}
