#include "demo/core/settings.h"

#include "demo/driver/pollbench_defaults.h"

uint8_t g_ComPort = kDefaultComPort;
int g_PollInterval = kDefaultPollIntervalMs;
uint8_t g_DeviceAddress = kDefaultDeviceAddress;
int g_Flags = kDefaultFlags;
