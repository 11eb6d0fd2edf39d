// The per-user settings store: named 32-bit numbers in sections under one
// program's key. On Windows the key is Software\<company>\<program> under
// HKEY_CURRENT_USER, a section a subkey and a number a DWORD value; elsewhere the key is
// the file $HOME/.config/<company>/<program>.ini with [section] name=number lines.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace platform {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Nothing when the value is missing or is not a number.
    virtual std::optional<uint32_t> ReadNumber(const std::string& section, const std::string& name) = 0;
    // Failures are not reported: the next read then falls back to its default.
    virtual void WriteNumber(const std::string& section, const std::string& name, uint32_t value) = 0;
};

// The current user's store of one program of one company.
std::unique_ptr<SettingsStore> OpenUserSettings(const std::string& company, const std::string& program);

// A store that lives as long as the object: for tests and for runs that
// must leave the user's store alone.
class MemorySettingsStore : public SettingsStore {
public:
    std::optional<uint32_t> ReadNumber(const std::string& section, const std::string& name) override;
    void WriteNumber(const std::string& section, const std::string& name, uint32_t value) override;

    // What was written, by (section, name), and how many writes there were.
    std::map<std::pair<std::string, std::string>, uint32_t> values;
    int writes = 0;
};

} // namespace platform
