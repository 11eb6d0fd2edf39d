#include "coindata/files/log_dump_name.h"

#include <cctype>
#include <cstring>

namespace {

constexpr size_t kSerialChars = 31;
constexpr char kReplacement = '_';
constexpr char kFallbackName[] = "unnamed";
constexpr char kUnsafeCharacters[] = "<>:\"/\\|?*";

bool UnsafeCharacter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F || std::strchr(kUnsafeCharacters, c) != nullptr;
}

// Windows opens a device, not a file, for these names whatever follows
// the first '.'.
bool ReservedDeviceName(const std::string& name) {
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (char& c : stem) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") return true;
    const bool numbered = stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0);
    return numbered && std::isdigit(static_cast<unsigned char>(stem[3]));
}

} // namespace

std::string LogDumpName(const char* szSerial) {
    std::string name;
    for (size_t i = 0; szSerial != nullptr && i < kSerialChars && szSerial[i] != '\0'; ++i) {
        name += UnsafeCharacter(szSerial[i]) ? kReplacement : szSerial[i];
    }
    const std::string read = name;
    for (size_t i = 0; i < read.size(); ++i) {
        const bool dotBefore = i > 0 && read[i - 1] == '.';
        const bool dotAfter = i + 1 < read.size() && read[i + 1] == '.';
        if (read[i] == '.' && (dotBefore || dotAfter)) name[i] = kReplacement;
    }
    if (ReservedDeviceName(name)) name.insert(name.begin(), kReplacement);
    return name.empty() ? kFallbackName : name;
}
