#include "demo/driver/cct_protocol.h"

namespace {
uint8_t Sum(const uint8_t* bytes, size_t n) {
    unsigned sum = 0;
    for (size_t i = 0; i < n; ++i) sum += bytes[i];
    return static_cast<uint8_t>(sum);
}
} // namespace

uint8_t CctChecksum(const uint8_t* bytes, size_t n) { return static_cast<uint8_t>(0x100 - Sum(bytes, n)); }

bool CctSumIsZero(const uint8_t* bytes, size_t n) { return Sum(bytes, n) == 0; }
