// The settings store in the per-user registry.
#include "platform/settings_store.h"

#include <windows.h>

namespace platform {
namespace {

class RegistrySettingsStore : public SettingsStore {
public:
    explicit RegistrySettingsStore(std::string keyPath) : keyPath_(std::move(keyPath)) {}

    std::optional<uint32_t> ReadNumber(const std::string& section, const std::string& name) override {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        DWORD type = 0;
        DWORD value = 0;
        DWORD size = sizeof value;
        const LSTATUS status =
            RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
        RegCloseKey(key);
        if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return std::nullopt;
        return static_cast<uint32_t>(value);
    }

    void WriteNumber(const std::string& section, const std::string& name, uint32_t value) override {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
            return;
        }
        const DWORD data = value;
        RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
        RegCloseKey(key);
    }

private:
    std::string SectionPath(const std::string& section) const { return keyPath_ + "\\" + section; }

    std::string keyPath_;
};

} // namespace

std::unique_ptr<SettingsStore> OpenUserSettings(const std::string& company, const std::string& program) {
    return std::make_unique<RegistrySettingsStore>("Software\\" + company + "\\" + program);
}

} // namespace platform
