// The main window's side of the front-end seam. The command controls are
// switched on the window's own thread; the service thread's two calls (the
// identity line and the coin list refill) only post a private message to
// the window: the thread never waits for the window, which may itself be
// waiting for the run to end when the program closes.
#pragma once

#include <windows.h>

#include <string>

// Private messages the main window receives; it then re-reads the stores.
constexpr UINT WM_IDENTITY_LINE_NEW = WM_APP + 1;
constexpr UINT WM_DEVICE_COIN_LIST_CHANGED = WM_APP + 2;

// Installs the window as the runs' front end; null removes it.
void RouteThreadCallsTo(HWND window);

// The latest identity line; call on receiving WM_IDENTITY_LINE_NEW.
std::string TakeIdentityLine();
// Call on receiving WM_DEVICE_COIN_LIST_CHANGED, before reading the table,
// so a change after the read posts again.
void AcknowledgeCoinListChange();
