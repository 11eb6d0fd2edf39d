// The content of an enciphered data file (a coin description, a log dump):
// the block cipher with the file key, the caller value 0, in place over
// whole 8-byte blocks.
#pragma once

#include <cstddef>
#include <cstdint>

void EncipherFileContent(uint8_t* content, size_t n);
void DecipherFileContent(uint8_t* content, size_t n);
