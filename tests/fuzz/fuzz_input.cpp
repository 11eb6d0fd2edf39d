#include "tests/fuzz/fuzz_input.h"

#include <algorithm>

uint8_t FuzzInput::Byte() { return AtEnd() ? 0 : data_[position_++]; }

uint16_t FuzzInput::Word() {
    const uint8_t low = Byte();
    return static_cast<uint16_t>(low | (Byte() << 8));
}

std::vector<uint8_t> FuzzInput::Bytes(size_t n) {
    const size_t take = std::min(n, Remaining());
    std::vector<uint8_t> bytes(data_ + position_, data_ + position_ + take);
    position_ += take;
    return bytes;
}
