// The two integrity codes of the acceptor link and the data files.
#pragma once

#include <cstddef>
#include <cstdint>

// ccTalk simple checksum: the two's complement of the 8-bit sum of the bytes,
// so that a frame including its checksum sums to 0 modulo 256.
uint8_t SimpleChecksum(const uint8_t* bytes, size_t n);

// CRC-16/XMODEM: polynomial 0x1021, initial value 0, MSB first, no
// reflection, no final XOR. Stored low byte first wherever it is stored.
uint16_t Crc16(const uint8_t* bytes, size_t n);

// Stores a 16-bit value low byte first and reads it back.
inline void StoreLe16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value & 0xFF);
    at[1] = static_cast<uint8_t>(value >> 8);
}
inline uint16_t LoadLe16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }
inline void StoreLe32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}
inline uint32_t LoadLe32(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) |
           (static_cast<uint32_t>(at[2]) << 16) | (static_cast<uint32_t>(at[3]) << 24);
}
