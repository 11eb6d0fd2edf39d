// What a run takes from the system around it: how a port is opened, how the
// service thread is started, the calendar clock and the large blocks of a
// multi-page transfer. Tests put their own parts here in place of the system's.
#pragma once

#include "platform/serial_port.h"
#include "platform/thread.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

struct RunEnvironment {
    // On failure returns null with the OS code in `error`.
    std::unique_ptr<platform::SerialPort> (*openPort)(const std::string& name, uint32_t& error);
    bool (*startThread)(platform::ThreadProc proc, void* argument);
    // Low 32 bits of the calendar time in seconds since 1970-01-01 UTC.
    uint32_t (*calendarTime)();
    // A new[] block, or null when there is no memory.
    uint8_t* (*allocateBlock)(size_t bytes);

    RunEnvironment(); // the system's parts
};

// Replaces the environment; call only while no run exists.
void SetRunEnvironment(const RunEnvironment& environment);
// A copy of the environment in use.
RunEnvironment CurrentRunEnvironment();
