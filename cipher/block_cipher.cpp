#include "cipher/block_cipher.h"

#include "link/checksums.h"

// The four key values come from the build (see the README); a site holding
// the acceptor maker's own values builds with them to talk to real
// acceptors and read their files.
#ifndef CIPHER_KEY_WORD0
#error "CIPHER_KEY_WORD0 must come from the build"
#endif

namespace {

constexpr int kSteps = 48;
constexpr uint32_t kBlockBytes = 8;

struct Key {
    uint32_t k[4];
};

// Put together at run time, word by word; no key array is stored.
Key BuildKey(uint32_t dwKeyValue) {
    Key key{};
    key.k[0] = static_cast<uint32_t>(CIPHER_KEY_WORD0);
    key.k[1] = dwKeyValue + static_cast<uint32_t>(CIPHER_KEY_ADDEND);
    key.k[2] = static_cast<uint32_t>(CIPHER_KEY_WORD2);
    key.k[3] = static_cast<uint32_t>(CIPHER_COUNTER_START);
    return key;
}

uint32_t G(uint32_t x) { return ((x >> 8) ^ (x << 6)) + x; }

void EncipherBlock(uint32_t& y, uint32_t& z, const Key& key) {
    for (uint32_t j = 0; j < kSteps; ++j) {
        if (j % 2 == 0) {
            y += G(z) + key.k[j % 4] + j;
        } else {
            z += G(y) + key.k[j % 4] + j;
        }
    }
}

void DecipherBlock(uint32_t& y, uint32_t& z, const Key& key) {
    for (uint32_t j = kSteps; j-- > 0;) {
        if (j % 2 == 1) {
            z -= G(y) + key.k[j % 4] + j;
        } else {
            y -= G(z) + key.k[j % 4] + j;
        }
    }
}

template <typename BlockOp>
void ForEachBlock(uint8_t* buffer, uint32_t length, uint32_t dwKeyValue, BlockOp op) {
    Key key = BuildKey(dwKeyValue);
    for (uint32_t p = 0; p + kBlockBytes <= length; p += kBlockBytes) {
        uint32_t y = LoadLe32(buffer + p);
        uint32_t z = LoadLe32(buffer + p + 4);
        op(y, z, key);
        StoreLe32(buffer + p, y);
        StoreLe32(buffer + p + 4, z);
        ++key.k[3];
    }
}

} // namespace

void EncipherBuffer(uint8_t* buffer, uint32_t length, uint32_t dwKeyValue) {
    ForEachBlock(buffer, length, dwKeyValue, EncipherBlock);
}

void DecipherBuffer(uint8_t* buffer, uint32_t length, uint32_t dwKeyValue) {
    ForEachBlock(buffer, length, dwKeyValue, DecipherBlock);
}
