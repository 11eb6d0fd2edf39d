// The program's own 64-bit block cipher: 48 add-shift-xor steps per block,
// a 128-bit key built at each call from the caller's 32-bit value, and a
// key word that counts the blocks of the call. Works in place on whole
// 8-byte blocks; every caller passes a multiple of 8.
#pragma once

#include <cstdint>

void EncipherBuffer(uint8_t* buffer, uint32_t length, uint32_t dwKeyValue);
void DecipherBuffer(uint8_t* buffer, uint32_t length, uint32_t dwKeyValue);
