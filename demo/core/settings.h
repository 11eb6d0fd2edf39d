// Pollbench's program-wide settings (kept between runs by the options store).
#pragma once

#include <cstdint>

extern uint8_t g_ComPort;       // COM port number, 1 by default
extern int g_PollInterval;      // milliseconds between poll ticks, 200 by default
extern uint8_t g_DeviceAddress; // ccTalk address of the device, 2 by default
extern int g_Flags;             // option bits, 0 by default

// g_Flags bit 0: the device has four sorter paths per coin.
constexpr int FLAG_LONG_SORTER = 0x01;
