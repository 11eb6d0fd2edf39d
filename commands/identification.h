// Sub-command 0: the acceptor's identification. Hands the acceptor the
// host's clock, fills DeviceInfo (whose serial number keys the cipher of
// every later extension payload), writes the identity line and applies
// the run's follow-up.
#pragma once

#include "coindata/records/device_info.h"
#include "link/com_thread.h"

#include <string>

void HandleIdentification(RunState& run);

// DeviceInfo from the 101 data bytes of an identification reply; every
// text is cut within its field.
DeviceInfo DecodeIdentification(const uint8_t* data);

// The identity line as the main window shows it (at most 289 characters).
std::string FormatIdentityLine(const DeviceInfo& info);
