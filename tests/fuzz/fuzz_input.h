// The fuzzer's bytes read front to back: a few choice bytes, then the
// rest as it comes. Past the end every read gives zeros.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool AtEnd() const { return position_ >= size_; }
    size_t Remaining() const { return size_ - position_; }

    uint8_t Byte();
    uint16_t Word(); // low byte first
    // Up to n bytes (fewer when the input ends first).
    std::vector<uint8_t> Bytes(size_t n);
    std::vector<uint8_t> Rest() { return Bytes(Remaining()); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};
