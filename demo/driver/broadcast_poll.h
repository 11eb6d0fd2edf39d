// The polls a device answers with raw bytes instead of a frame, so that
// several devices can answer one request: the broadcast address poll
// (header 253 to address 0: every device sends its address byte after 4 ms
// x its address, then keeps its receiver off until 1.2 s after the poll) and
// the address clash poll (header 252: each device at that address sends
// its address byte after a random 0 to 255 x 4 ms).
#pragma once

#include "demo/driver/cct_driver.h"

#include <cstdint>
#include <vector>

constexpr uint8_t kBroadcastAddress = 0;
constexpr uint8_t kHdrAddressClash = 252;
constexpr uint8_t kHdrAddressPoll = 253;

// The answers to the broadcast: 255 x 4 ms, the 1.2 s the devices do not
// listen after it, and a margin for a USB adapter's latency.
constexpr uint32_t kBroadcastWindowMs = 1300;
// The answers to a clash poll: 256 slots of 4 ms and the same margin,
// counted from the last poll sent.
constexpr uint32_t kClashWindowMs = 1100;

// At most this many bytes are kept from one window; a line that brings more
// is noise, not devices.
constexpr size_t kMaxHeardBytes = 512;

// Sends `header` with no data to each of `destinations`, all polls in one
// write, on the driver's port (which the driver closes first: a port is
// opened for exclusive use), reads their echo, then appends to `heard`
// every byte that comes within `windowMs` after it. A device may answer its
// poll while the next ones are still going out, so its byte comes inside
// the echo: then the echo differs, `heard` gets everything read, echo
// included, the window is still listened out so the line is quiet after it,
// and kExchangeEchoDiffers says that nothing in it can be told apart.
// Returns kExchangeOk or the ExchangeResult of what failed; the port is
// closed again either way, and the driver opens it anew on its next request.
int ListenAfterPolls(CCctDriver& driver, const std::vector<uint8_t>& destinations, uint8_t header,
                     uint32_t windowMs, std::vector<uint8_t>& heard);

// The same for one poll.
int ListenAfterPoll(CCctDriver& driver, uint8_t destination, uint8_t header, uint32_t windowMs,
                    std::vector<uint8_t>& heard);
