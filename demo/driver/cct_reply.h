// The data of one reply, as the driver hands it to its caller.
#pragma once

#include "demo/driver/cct_protocol.h"

#include <cstdint>
#include <string>

// Reply data of one request.
struct CctReply {
    uint8_t data[MAX_REQUEST_DATA] = {};
    uint8_t length = 0;
    std::string Text() const { return std::string(reinterpret_cast<const char*>(data), length); }
};

// The serial number read little-endian from 3 or 4 bytes; 0 for other lengths.
uint32_t SerialNumberFromReply(const CctReply& reply);
