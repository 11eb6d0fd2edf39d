#include "coindata/files/enciphered_file.h"

#include "cipher/block_cipher.h"

namespace {

constexpr uint32_t kFileCipherKey = 0;

} // namespace

void EncipherFileContent(uint8_t* content, size_t n) {
    EncipherBuffer(content, static_cast<uint32_t>(n), kFileCipherKey);
}

void DecipherFileContent(uint8_t* content, size_t n) {
    DecipherBuffer(content, static_cast<uint32_t>(n), kFileCipherKey);
}
