// Kept apart: <asm/termbits.h> cannot share a unit with <termios.h>.
#include "platform/serial_baud_linux.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace platform {

bool SetCustomBaud(int fd, uint32_t baud) {
    struct termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0) return false;
    t.c_cflag &= ~static_cast<tcflag_t>(CBAUD);
    t.c_cflag |= BOTHER;
    t.c_ispeed = baud;
    t.c_ospeed = baud;
    return ioctl(fd, TCSETS2, &t) == 0;
}

} // namespace platform
