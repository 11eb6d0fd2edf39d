#include "link/port_opener.h"

#include <atomic>

namespace {
std::atomic<PortOpener> g_opener{&platform::OpenSerialPort};
}

std::unique_ptr<platform::SerialPort> OpenPort(const std::string& name, uint32_t& error) {
    return g_opener.load(std::memory_order_acquire)(name, error);
}

PortOpener SetPortOpenerForTesting(PortOpener opener) {
    return g_opener.exchange(opener != nullptr ? opener : &platform::OpenSerialPort, std::memory_order_acq_rel);
}
