// Numbers typed into a dialog's boxes, checked as the dialogs take them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What the operator is told when a box does not hold its kind of number.
constexpr char kByteFieldMessage[] = "Geben Sie bitte eine ganze Zahl zwischen 0 und 255 ein.";
constexpr char kUnsignedFieldMessage[] = "Geben Sie bitte eine positive ganze Zahl ein.";

// A whole number from 0 to 255, blanks around it allowed.
std::optional<uint8_t> ParseByteField(const std::string& text);
// A whole number from 0 to 4294967295, blanks around it allowed.
std::optional<uint32_t> ParseUnsignedField(const std::string& text);
