#include "ui/parameter_clamping.h"

#include <limits>

namespace {
constexpr uint32_t kAddressLimit = 256; // an address is one byte
constexpr uint32_t kMaxDivider = 255;
constexpr uint16_t kMaxMaxError = 20;
constexpr uint8_t kMaxStandDev = 10;
} // namespace

namespace {

struct FieldDigits {
    uint32_t lowBits = 0;    // the number modulo 2^32
    bool beyond32 = false;   // the number does not fit 32 bits
};

// Any number of digits: the low bits are kept exactly, however long the
// number, and an overflow is remembered rather than wrapped into a small one.
FieldDigits ReadDigits(const char* text) {
    FieldDigits digits;
    if (text == nullptr) return digits;
    while (*text == ' ') ++text;
    uint64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + static_cast<uint64_t>(*text - '0');
        if (value > std::numeric_limits<uint32_t>::max()) digits.beyond32 = true;
        value &= std::numeric_limits<uint32_t>::max();
    }
    digits.lowBits = static_cast<uint32_t>(value);
    return digits;
}

} // namespace

uint32_t ReadUnsignedField(const char* text) {
    const FieldDigits digits = ReadDigits(text);
    return digits.beyond32 ? std::numeric_limits<uint32_t>::max() : digits.lowBits;
}

uint32_t ReadUnsignedFieldLowBits(const char* text) { return ReadDigits(text).lowBits; }

int32_t ClampErrorDivider(uint32_t typed) {
    if (typed < 1 || typed > static_cast<uint32_t>(std::numeric_limits<int32_t>::max())) return 1;
    return typed > kMaxDivider ? static_cast<int32_t>(kMaxDivider) : static_cast<int32_t>(typed);
}

uint16_t ClampMaxError(uint32_t typed) {
    const uint16_t v = static_cast<uint16_t>(typed & 0xFFFFu);
    if (v < 1) return 1;
    return v > kMaxMaxError ? kMaxMaxError : v;
}

uint8_t ClampNNetDivider(uint32_t typed) {
    const uint8_t v = static_cast<uint8_t>(typed & 0xFFu);
    return v == 0 ? 1 : v;
}

uint8_t ClampNumbStandDev(uint32_t typed) {
    const uint8_t v = static_cast<uint8_t>(typed & 0xFFu);
    if (v == 0) return 1;
    return v > kMaxStandDev ? kMaxStandDev : v;
}

std::optional<uint8_t> AddressFromField(const char* text) {
    const uint32_t typed = ReadUnsignedField(text);
    if (typed >= kAddressLimit) return std::nullopt;
    return static_cast<uint8_t>(typed);
}
