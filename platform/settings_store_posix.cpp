// The settings store in a small ini-like file under the user's configuration
// folder: "[section]" lines open a section, "name=number" lines hold values.
#include "platform/settings_store.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>

namespace platform {
namespace {

using Sections = std::map<std::string, std::map<std::string, std::string>>;

Sections ReadFile(const std::string& path) {
    Sections sections;
    std::ifstream in(path);
    std::string line;
    std::string section;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const size_t eq = line.find('=');
        if (eq != std::string::npos) sections[section][line.substr(0, eq)] = line.substr(eq + 1);
    }
    return sections;
}

void WriteFile(const std::string& path, const Sections& sections) {
    std::ofstream out(path, std::ios::trunc);
    for (const auto& [section, values] : sections) {
        out << '[' << section << "]\n";
        for (const auto& [name, value] : values) out << name << '=' << value << '\n';
    }
}

// A whole decimal number that fits 32 bits, nothing else on the line.
std::optional<uint32_t> ParseNumber(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (errno != 0 || value > UINT32_MAX) return std::nullopt;
    return static_cast<uint32_t>(value);
}

// Creates each folder of `path` that does not exist yet.
void MakeFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        mkdir(path.substr(0, slash).c_str(), 0700);
    }
    mkdir(path.c_str(), 0700);
}

class FileSettingsStore : public SettingsStore {
public:
    FileSettingsStore(std::string folder, std::string path) : folder_(std::move(folder)), path_(std::move(path)) {}

    std::optional<uint32_t> ReadNumber(const std::string& section, const std::string& name) override {
        const Sections sections = ReadFile(path_);
        const auto s = sections.find(section);
        if (s == sections.end()) return std::nullopt;
        const auto v = s->second.find(name);
        if (v == s->second.end()) return std::nullopt;
        return ParseNumber(v->second);
    }

    void WriteNumber(const std::string& section, const std::string& name, uint32_t value) override {
        Sections sections = ReadFile(path_);
        sections[section][name] = std::to_string(value);
        MakeFolders(folder_);
        WriteFile(path_, sections);
    }

private:
    std::string folder_;
    std::string path_;
};

} // namespace

std::unique_ptr<SettingsStore> OpenUserSettings(const std::string& company, const std::string& program) {
    const char* home = std::getenv("HOME");
    const std::string folder = std::string(home != nullptr ? home : ".") + "/.config/" + company;
    return std::make_unique<FileSettingsStore>(folder, folder + "/" + program + ".ini");
}

} // namespace platform
