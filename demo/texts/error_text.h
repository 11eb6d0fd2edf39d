// Texts of the device's error codes, for the error line.
#pragma once

#include <cstdint>
#include <string>

// Nothing for 0, "(unknown)" for a code without a text of its own.
const char* ErrorText(uint8_t code);

// "Code <n> " followed by the code's text.
std::string ErrorLine(uint8_t code);
