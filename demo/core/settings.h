// Pollbench's program-wide settings (kept between runs by the options store).
#pragma once

#include <cstdint>

// Their defaults are in demo/driver/pollbench_defaults.h.
extern uint8_t g_ComPort;       // COM port number
extern int g_PollInterval;      // milliseconds between poll ticks
extern uint8_t g_DeviceAddress; // ccTalk address of the device
extern int g_Flags;             // option bits

// g_Flags bit 0: the device has four sorter paths per coin.
constexpr int FLAG_LONG_SORTER = 0x01;
