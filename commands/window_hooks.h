// What the service thread does to the main window directly: write the
// identity line and refill the device coin list. A front end (the window,
// the console) installs its own; with none installed nothing is shown.
#pragma once

using IdentityLineHook = void (*)(const char* line);
using RefreshDeviceCoinListHook = void (*)();

// Each returns the previous hook; null removes it.
IdentityLineHook SetIdentityLineHook(IdentityLineHook hook);
RefreshDeviceCoinListHook SetRefreshDeviceCoinListHook(RefreshDeviceCoinListHook hook);

// Called on the service thread.
void WriteIdentityLine(const char* line);
void RefreshDeviceCoinList();
