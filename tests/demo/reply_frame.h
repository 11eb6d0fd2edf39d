// Reply frames as a standard ccTalk device sends them to the host, for the
// driver's tests.
#pragma once

#include <cstdint>
#include <vector>

// A reply frame from the device at `source` to the host.
std::vector<uint8_t> ReplyFrame(uint8_t source, const std::vector<uint8_t>& data, uint8_t header = 0);
