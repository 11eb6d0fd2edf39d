// Names of the standard ccTalk headers, for the wire trace.
#pragma once

#include <cstdint>
#include <string>

// "Simple poll" for 254; "header N" for one without a name here.
std::string CctHeaderName(uint8_t header);
