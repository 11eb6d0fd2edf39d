#pragma once

#include <string>

namespace platform {

// Code page 1251 bytes to UTF-8, for terminals and logs.
std::string Cp1251ToUtf8(const std::string& text);

// The same for text that came from a device: every control byte (below
// 0x20, and 0x7F) becomes a visible escape such as "\x1b", so a device
// can neither steer the terminal nor break a line, and a NUL cuts nothing.
std::string Cp1251ToTerminal(const std::string& text);

} // namespace platform
