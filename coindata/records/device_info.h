// The identity of the connected acceptor, from its identification. The
// serial service thread writes it and the window thread reads it, so it is
// copied in and out under a lock.
#pragma once

#include <cstdint>

struct DeviceInfo {
    uint8_t bAddress = 0;
    uint32_t dwSerial = 0; // the cipher's key value on the link
    char szSerial[32] = {};
    char szManufacturer[9] = {};
    char szCategory[14] = {};
    char szBuild[17] = {};
    char szRevision[6] = {};
};

DeviceInfo GetDeviceInfo();
// Stores a copy; every text field is kept NUL-terminated.
void SetDeviceInfo(const DeviceInfo& info);
