// How the line settings of serial_port.h map onto termios, kept apart so the
// mapping can be checked without a device. POSIX only.
#pragma once

#include "platform/serial_port.h"

#include <termios.h>

namespace platform {

// What a Windows port always is: bytes pass unchanged in both directions.
// Switches off line editing, echo, signal keys, CR/NL translation, stripping
// of the eighth bit, parity marking and output processing; receives without
// waiting for carrier; reads are timed by poll(), never by the driver.
// XON/XOFF flow, its characters, break and hang-up handling stay as found.
void MakeBinary(termios& t);

// Writes the named fields (speed aside) into `t` and leaves every other bit
// as it is. False, with nothing changed, for a value termios cannot carry
// (see serial_port.h).
bool ApplyLineSettings(const LineSettings& s, termios& t);

// Reads the named fields that termios holds (speed and modem lines aside).
void ReadLineSettings(const termios& t, LineSettings& s);

// Line errors between two readings of the driver's counters, as
// ClearCommError reports them.
struct LineErrorCounts {
    int frame = 0;
    int overrun = 0;
    int parity = 0;
    int brk = 0;
};
uint32_t LineErrorsBetween(const LineErrorCounts& before, const LineErrorCounts& after);

} // namespace platform
