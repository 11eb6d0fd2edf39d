// The port every Ducat Console run opens while a FakePortOpener lives: a
// FakeSerialPort over the opener's script and log, or a refusal
// (script.failOpen). Make it while no run exists.
#pragma once

#include "tests/support/fake_serial_port.h"

#include <cstddef>

namespace testing_support {

class FakePortOpener {
public:
    FakePortOpener();  // puts its opener into the run environment
    ~FakePortOpener(); // puts the system's back
    FakePortOpener(const FakePortOpener&) = delete;
    FakePortOpener& operator=(const FakePortOpener&) = delete;

    FakePortScript script;
    FakePortLog log;
    size_t queuedAtClose = 0; // lines waiting in the log queue when a port closed
};

} // namespace testing_support
