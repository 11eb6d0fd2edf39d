#include "platform/settings_store.h"

namespace platform {

std::optional<uint32_t> MemorySettingsStore::ReadNumber(const std::string& section, const std::string& name) {
    const auto found = values.find({section, name});
    if (found == values.end()) return std::nullopt;
    return found->second;
}

void MemorySettingsStore::WriteNumber(const std::string& section, const std::string& name, uint32_t value) {
    values[{section, name}] = value;
    ++writes;
}

} // namespace platform
