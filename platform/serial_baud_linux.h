// Line speeds that termios has no B-constant for (14400, 76800 bit/s).
#pragma once

#include <cstdint>

namespace platform {

// Sets input and output speed of an open terminal to any bit rate.
bool SetCustomBaud(int fd, uint32_t baud);

} // namespace platform
