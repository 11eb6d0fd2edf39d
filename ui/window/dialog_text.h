// Reading and writing a dialog's text fields. Texts are code page 1251
// bytes, the system's own, so the narrow calls are used throughout.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

std::string ItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const std::string& text);
void SetItemNumber(HWND dialog, int id, int value); // "%d"
void LimitItemText(HWND dialog, int id, int characters);
