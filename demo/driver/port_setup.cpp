#include "demo/driver/port_setup.h"

#include "platform/port_names.h"

platform::Timeouts DemoPortTimeouts() {
    platform::Timeouts t;
    t.readInterval = 0;
    t.readTotalMultiplier = 3;
    t.readTotalConstant = 50;
    t.writeTotalMultiplier = 20;
    t.writeTotalConstant = 20;
    return t;
}

bool ConfigureDemoPort(platform::SerialPort& port, const platform::Timeouts& limits) {
    platform::LineSettings line;
    if (!port.GetLine(line)) return false;
    line.baudRate = kDemoBaudRate;
    line.byteSize = platform::kEightDataBits;
    line.parity = platform::kParityNone;
    line.stopBits = platform::kOneStopBit;
    line.parityCheck = false;
    line.ctsOutputFlow = false;
    line.dsrOutputFlow = false;
    line.dtrControl = platform::kControlDisable;
    line.rtsControl = platform::kControlDisable;
    line.errorCharReplace = false;
    if (!port.SetLine(line)) return false;
    platform::Timeouts t;
    if (!port.GetTimeouts(t)) return false;
    t = limits;
    return port.SetTimeouts(t);
}

std::string DemoPortDevice(int n) { return platform::ComPortDevice(n); }

std::unique_ptr<platform::SerialPort> OpenDemoPort(const std::string& device) {
    uint32_t error = 0;
    return platform::OpenSerialPort(device, error);
}
