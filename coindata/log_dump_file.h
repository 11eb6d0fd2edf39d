// The acceptor's log dump: ".\<serial>.tea", the pages and a 256-byte
// trailer enciphered (key 0), then the checksum.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kLogPageBytes = 256;
constexpr size_t kLogTrailerBytes = 256;

// pPages holds nBytes of pages (a multiple of 256) and 256 bytes of room
// behind them for the trailer. The buffer is enciphered in place. Returns
// 0, or 1 with its message when the file was not written. Called on the
// serial service thread.
int WriteLogDump(uint8_t* pPages, uint32_t nBytes);
