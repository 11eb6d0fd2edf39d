// One field of a CSV report line, the same for both programs' reports.
#pragma once

#include <string>

namespace platform {

// The text as it is, or quoted (inner quotes doubled) when it holds a
// comma, a quote or a line end.
inline std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

} // namespace platform
