#include "platform/port_names.h"

namespace platform {
namespace {

constexpr char kComPrefix[] = "COM";
constexpr size_t kComPrefixChars = sizeof kComPrefix - 1;
constexpr size_t kMostDigits = 3; // 255; more digits are out of range whatever they say

} // namespace

bool ReadComPortNumber(const std::string& name, int& number) {
    const std::string digits = name.compare(0, kComPrefixChars, kComPrefix) == 0 ? name.substr(kComPrefixChars) : name;
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return false;
    number = 0;
    if (digits.size() > kMostDigits) return true;
    const int n = std::stoi(digits);
    if (n >= 1 && n <= kMaxComPortNumber) number = n;
    return true;
}

} // namespace platform
