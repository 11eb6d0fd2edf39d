#pragma once

#include <string>

namespace platform {

// Code page 1251 bytes to UTF-8, for terminals and logs.
std::string Cp1251ToUtf8(const std::string& text);

} // namespace platform
