// Waiting for a quiet line after a failed exchange: the rest of a late or
// mis-framed reply may still be on its way, and the purge before the next
// request cannot take bytes that have not come yet. Both programs' links
// read and drop what comes until the line has been silent for a gap.
#pragma once

#include "platform/serial_port.h"

#include <cstddef>
#include <cstdint>
#include <functional>

namespace platform {

struct QuietLine {
    uint32_t gapMs = 0;   // silence that makes the line quiet
    uint32_t boundMs = 0; // a line that never falls silent is given up on after this
    size_t readSize = 1;  // bytes asked for in one read
};

// Reads with limits of its own until a read brings nothing or the bound has
// passed, hands every byte read to `discarded` (may be empty), and gives the
// port its own limits back.
void AwaitQuietLine(SerialPort& port, const QuietLine& line,
                    const std::function<void(const uint8_t* bytes, size_t n)>& discarded = {});

} // namespace platform
