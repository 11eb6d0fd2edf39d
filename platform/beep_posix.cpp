#include "platform/beep.h"

namespace platform {

void Beep(uint32_t, uint32_t) {}

} // namespace platform
