#include "demo/texts/coin_value.h"

#include <cstdio>

namespace {

constexpr size_t kCoinIdLength = 6;
constexpr size_t kValueFirst = 2; // the value is characters 3 to 5
constexpr size_t kValueLength = 3;

// A letter at value position i sets the decimal exponent; a later letter
// replaces an earlier one, and other characters are skipped.
void ApplyExponentLetter(char c, int i, int& exponent) {
    switch (c) {
    case '.': exponent = i - 2; break;
    case 'k': exponent = i + 1; break;
    case 'M': exponent = i + 4; break;
    case 'm': exponent = i - 5; break;
    default: break;
    }
}

} // namespace

unsigned ParseCoinValue(const std::string& coinId) {
    if (coinId.size() < kCoinIdLength) return 0;
    unsigned value = 0;
    int exponent = 0;
    for (int i = 0; i < static_cast<int>(kValueLength); ++i) {
        const char c = coinId[kValueFirst + static_cast<size_t>(i)];
        if (c >= '0' && c <= '9') {
            value = 10 * value + static_cast<unsigned>(c - '0');
        } else {
            ApplyExponentLetter(c, i, exponent);
        }
    }
    for (int e = 0; e < exponent; ++e) value *= 10;
    return value;
}

std::string MoneyText(uint32_t hundredths) {
    char text[24];
    std::snprintf(text, sizeof text, "%d.%.2d", static_cast<int>(hundredths / 100), static_cast<int>(hundredths % 100));
    return text;
}
