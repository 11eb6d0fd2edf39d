// What the coin parameter dialogs make of the numbers the operator typed,
// before they go to the acceptor. Shared by the dialogs and the console.
#pragma once

#include <cstdint>
#include <optional>

// An edit field read as an unsigned decimal number: leading blanks
// skipped, digits up to the first other character; no digits read as 0, a
// number beyond 32 bits as 4294967295 (it is "too large" for every field).
uint32_t ReadUnsignedField(const char* text);
// The same number's low 32 bits, for the fields that keep only its low bits.
uint32_t ReadUnsignedFieldLowBits(const char* text);

// The settings dialog's network address: the number when it is below 256,
// nothing (the address stays) for 256 and more, however many digits.
std::optional<uint8_t> AddressFromField(const char* text);

// Error divider: 1 below 1 (2^31 and more count as below 1), 255 above 255.
int32_t ClampErrorDivider(uint32_t typed);
// Max_Error: the low 16 bits, then 1 below 1 and 20 above 20.
uint16_t ClampMaxError(uint32_t typed);
// NNet_Divider: the low 8 bits, then 1 for 0.
uint8_t ClampNNetDivider(uint32_t typed);
// Numb_Stand_Dev: the low 8 bits, then 1 for 0 and 10 above 10.
uint8_t ClampNumbStandDev(uint32_t typed);
