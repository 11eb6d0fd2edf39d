// Every data file ends with the sum of its content bytes, each taken as a
// signed 8-bit value, in a wrapping signed 32-bit sum stored little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kEnvelopeBytes = 4;

class EnvelopeSum {
public:
    void Add(const uint8_t* bytes, size_t n);
    // Takes bytes added before back out again.
    void Remove(const uint8_t* bytes, size_t n);
    int32_t Value() const;

private:
    uint32_t sum_ = 0; // unsigned, so the wrap-around is defined
};

int32_t ContentSum(const uint8_t* content, size_t n);
void StoreEnvelope(uint8_t* at, int32_t sum);
int32_t LoadEnvelope(const uint8_t* at);
// A whole file held in memory: false when shorter than 4 bytes or when the
// stored sum differs.
bool EnvelopeMatches(const uint8_t* file, size_t size);
