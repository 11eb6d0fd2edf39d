#include "coindata/records/device_info.h"

#include <mutex>

namespace {

std::mutex g_lock;
DeviceInfo g_info;

template <size_t N>
void Terminate(char (&text)[N]) {
    text[N - 1] = '\0';
}

} // namespace

DeviceInfo GetDeviceInfo() {
    std::lock_guard<std::mutex> guard(g_lock);
    return g_info;
}

void SetDeviceInfo(const DeviceInfo& info) {
    DeviceInfo copy = info;
    Terminate(copy.szSerial);
    Terminate(copy.szManufacturer);
    Terminate(copy.szCategory);
    Terminate(copy.szBuild);
    Terminate(copy.szRevision);
    std::lock_guard<std::mutex> guard(g_lock);
    g_info = copy;
}
