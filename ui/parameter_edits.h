// What the coin parameter dialogs put into the shared data when the operator
// confirms, before the run that sends it starts. Shared by the dialogs and
// the console; call only while no run exists.
#pragma once

#include <cstdint>

// The divider and inherit dialog: the row's error divider as typed (then
// clamped) and its allowed flag. False for a row outside 0-15.
bool ApplyDividerEdit(int32_t row, const char* typedDivider, bool inherit);

// The maximum errors and dividers dialog: the three acceptance parameters
// as typed, each clamped; the travel times and the rest are kept.
void ApplyMaxErrorsEdit(const char* typedMaxError, const char* typedNNetDivider, const char* typedNumbStandDev);
