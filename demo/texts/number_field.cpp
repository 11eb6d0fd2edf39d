#include "demo/texts/number_field.h"

#include <limits>

namespace {
constexpr char kBlanks[] = " \t";

// The digits between optional blanks, or nothing; at most `limit`.
std::optional<uint32_t> ParseBounded(const std::string& text, uint32_t limit) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos) return std::nullopt;
    const size_t last = text.find_last_not_of(kBlanks);
    uint64_t value = 0;
    for (size_t i = first; i <= last; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > limit) return std::nullopt;
    }
    return static_cast<uint32_t>(value);
}
} // namespace

std::optional<uint8_t> ParseByteField(const std::string& text) {
    const auto value = ParseBounded(text, std::numeric_limits<uint8_t>::max());
    if (!value) return std::nullopt;
    return static_cast<uint8_t>(*value);
}

std::optional<uint32_t> ParseUnsignedField(const std::string& text) {
    return ParseBounded(text, std::numeric_limits<uint32_t>::max());
}
