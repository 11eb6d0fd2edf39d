// Pollbench's defaults, named once: the settings before the user's store or
// the command line gives others, the driver's port and address when made.
#pragma once

#include <cstdint>

constexpr uint8_t kDefaultComPort = 1;
constexpr uint8_t kDefaultDeviceAddress = 2;
constexpr int kDefaultPollIntervalMs = 200;
constexpr int kDefaultFlags = 0;
