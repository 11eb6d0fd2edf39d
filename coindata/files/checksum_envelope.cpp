#include "coindata/files/checksum_envelope.h"

#include "link/checksums.h"

namespace {
// A byte as a signed 8-bit value, widened with its sign into 32 bits.
uint32_t SignedByte(uint8_t b) { return b < 0x80 ? b : 0xFFFFFF00u | b; }
} // namespace

void EnvelopeSum::Add(const uint8_t* bytes, size_t n) {
    for (size_t i = 0; i < n; ++i) sum_ += SignedByte(bytes[i]);
}

void EnvelopeSum::Remove(const uint8_t* bytes, size_t n) {
    for (size_t i = 0; i < n; ++i) sum_ -= SignedByte(bytes[i]);
}

int32_t EnvelopeSum::Value() const { return static_cast<int32_t>(sum_); }

int32_t ContentSum(const uint8_t* content, size_t n) {
    EnvelopeSum sum;
    sum.Add(content, n);
    return sum.Value();
}

void StoreEnvelope(uint8_t* at, int32_t sum) { StoreLe32(at, static_cast<uint32_t>(sum)); }

int32_t LoadEnvelope(const uint8_t* at) { return static_cast<int32_t>(LoadLe32(at)); }

bool EnvelopeMatches(const uint8_t* file, size_t size) {
    if (size < kEnvelopeBytes) return false;
    const size_t n = size - kEnvelopeBytes;
    return ContentSum(file, n) == LoadEnvelope(file + n);
}
