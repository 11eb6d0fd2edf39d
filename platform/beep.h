#pragma once

#include <cstdint>

namespace platform {

// A tone on the PC speaker; returns when it ends. Silent and immediate
// where the platform has no speaker.
void Beep(uint32_t frequencyHz, uint32_t durationMs);

} // namespace platform
