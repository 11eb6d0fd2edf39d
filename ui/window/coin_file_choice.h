// The file box of "Update Coin Description".
#pragma once

#include <windows.h>

#include <string>

// The operator's choice of a coin description file from ".\Export\", or
// an empty text when the box was cancelled. The box may change the current
// directory; the caller restores it.
std::string ChooseCoinDescriptionFile(HWND owner);
