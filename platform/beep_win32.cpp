#include "platform/beep.h"

#include <windows.h>

namespace platform {

void Beep(uint32_t frequencyHz, uint32_t durationMs) { ::Beep(frequencyHz, durationMs); }

} // namespace platform
