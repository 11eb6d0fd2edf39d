// The one way the link opens a serial port. Replaceable, so that tests can
// put a scripted port where the operating system's would be.
#pragma once

#include "platform/serial_port.h"

#include <cstdint>
#include <memory>
#include <string>

using PortOpener = std::unique_ptr<platform::SerialPort> (*)(const std::string& name, uint32_t& error);

// Opens `name` through the current opener (platform::OpenSerialPort unless
// a test replaced it). On failure returns null with the OS code in `error`.
std::unique_ptr<platform::SerialPort> OpenPort(const std::string& name, uint32_t& error);

// Installs `opener` (null restores the platform's) and returns the previous
// one. Call only while no run exists.
PortOpener SetPortOpenerForTesting(PortOpener opener);
