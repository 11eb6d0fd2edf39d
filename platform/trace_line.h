// One line of a wire trace, the same for both programs: local time to the
// millisecond, the direction, the frame's bytes in hex and what they mean.
//   2026-12-09 10:31:07.123 host   02 00 01 FE FF | Simple poll
//   2026-12-09 10:31:07.190 failed | result -5: fewer than 5 bytes of reply head
// A raw capture has no times; its lines carry the byte offset ("@000120"),
// and its bytes that belong to no frame are a line of their own:
//   @001234 noise  4F 00 E2 | noise: 3 bytes at offset 1234
// A sniff's raw file keeps the bytes as they were heard, with their times:
//   2026-12-09 10:31:07.123 raw    02 00 01 FE FF | 5 bytes
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum class TraceDirection {
    Host,   // a frame the host wrote
    Echo,   // the host's own bytes handed back by a one-wire bus
    Device, // bytes the host read from the device
    Failed, // the exchange failed: the mark carries its result code
    Port,   // the port opened or closed
    Noise,  // bytes of a raw capture that belong to no frame that holds
    Raw,    // bytes heard on a line, not yet cut into frames
};

struct TraceLine {
    std::string time;
    TraceDirection direction = TraceDirection::Host;
    std::vector<uint8_t> bytes;
    std::string meaning;
};

const char* DirectionWord(TraceDirection direction);
// True for the directions whose lines carry a frame.
bool CarriesFrame(TraceDirection direction);
// True for the directions whose lines carry bytes: a frame's, or noise.
bool CarriesBytes(TraceDirection direction);

// "02 00 01 FE FF".
std::string HexBytes(const uint8_t* bytes, size_t n);

std::string FormatTraceLine(const TraceLine& line);

// Reads a line written by FormatTraceLine; false with `error` when it is not one.
bool ParseTraceLine(const std::string& text, TraceLine& line, std::string& error);

// A text shown inside a meaning: printable ASCII as it is, anything else as \xNN.
std::string QuotedText(const uint8_t* bytes, size_t n);

// The time stamp of byte `offset` of a raw capture.
std::string RawOffsetStamp(size_t offset);

} // namespace platform
