// How Pollbench opens and configures a serial port: 9600 8N1 without flow
// control, and short read limits that suit a one-wire ccTalk bus.
#pragma once

#include "platform/serial_port.h"

#include <functional>
#include <memory>
#include <string>

// The line's speed in bit/s.
constexpr uint32_t kDemoBaudRate = 9600;

// Read limits: 50 ms plus 3 ms per byte asked; writes 20 ms plus 20 ms per byte.
platform::Timeouts DemoPortTimeouts();

// Applies the line settings and the given limits, keeping the port's other
// settings. False when the port refused to report or take them.
bool ConfigureDemoPort(platform::SerialPort& port, const platform::Timeouts& limits);

// The device name of COM port n on this system.
std::string DemoPortDevice(int n);

// Opens a device for exclusive use; null when it cannot be opened.
using PortOpener = std::function<std::unique_ptr<platform::SerialPort>(const std::string& device)>;
std::unique_ptr<platform::SerialPort> OpenDemoPort(const std::string& device);
