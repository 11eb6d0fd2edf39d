// The settings the configuration file carries, where they live in memory:
// the link's port, speed and address, the protocol, the current coin, the
// coin set and the fields kept for the file.
#pragma once

#include "coindata/records/config_record.h"

#include <cstdint>

extern int32_t iProtocolIndex;      // only "ccTalk_Coin" (0) is offered
extern uint32_t dwLastSerialWritten; // kept in the file
extern int32_t bHexDisplay;          // kept in the file
extern ConfigReserved g_configReserved;
// 1 when the configuration file was missing or bad at start and the
// settings have not been saved since, else 0.
extern int32_t bConfigDefaults;

// The settings as they are now, and putting a record's settings in place
// (every slot of the coin set as not present).
ConfigRecord CollectConfig();
void ApplyConfig(const ConfigRecord& record);

// The two words after the current coin, as the window sets them at start
// (whatever the file held): 0 and 1.
void SetWindowStartWords();
