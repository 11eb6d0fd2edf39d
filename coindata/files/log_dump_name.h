// The log dump's file name comes from the acceptor's serial text, so a
// device must not be able to choose a folder or a reserved device name.
#pragma once

#include <string>

// The serial text (up to its NUL, at most 31 characters) made safe as a
// file name stem:
// - control characters (0x00-0x1F, 0x7F) and < > : " / \ | ? * become '_';
// - every '.' next to another '.' becomes '_' (no "..");
// - a name whose part before the first '.', trailing spaces ignored, is a
//   reserved device name (CON, PRN, AUX, NUL, COM0-9, LPT0-9, any case)
//   gets a leading '_';
// - an empty result becomes "unnamed".
std::string LogDumpName(const char* szSerial);
