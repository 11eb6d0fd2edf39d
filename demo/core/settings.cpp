#include "demo/core/settings.h"

uint8_t g_ComPort = 1;
int g_PollInterval = 200;
uint8_t g_DeviceAddress = 2;
int g_Flags = 0;
