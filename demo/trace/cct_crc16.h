// ccTalk's CRC-16 frames: byte 2 holds the CRC's low byte where a frame
// with the simple checksum holds the source address, and the last byte its
// high byte. The CRC (CRC-16/CCITT, polynomial 0x1021, starting at 0) runs
// over the destination, the length, the header and the data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

uint16_t CctCrc16(const uint8_t* bytes, size_t n, uint16_t crc = 0);

// Whether the `n` bytes at `frame` are as long as their length byte says
// and their CRC-16 holds.
bool CctCrc16Holds(const uint8_t* frame, size_t n);

// A CRC-16 frame to `destination` with `header` and `data` (0 to 95 bytes).
std::vector<uint8_t> CctCrc16Frame(uint8_t destination, uint8_t header, const std::vector<uint8_t>& data);

// The same frame with the simple checksum, from `source`: what the decoder
// reads.
std::vector<uint8_t> CctSimpleFormOf(const std::vector<uint8_t>& crcFrame, uint8_t source);
