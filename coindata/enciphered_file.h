// Enciphered data files use the block cipher with the caller value 0.
#pragma once

#include <cstdint>

constexpr uint32_t kFileCipherKey = 0;
