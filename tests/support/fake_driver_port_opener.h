// Pollbench's driver over the fake serial port: an opener that hands out
// FakeSerialPorts over one script and log, or refuses (script.failOpen).
#pragma once

#include "demo/driver/port_setup.h"
#include "tests/support/fake_serial_port.h"

namespace testing_support {

// `script` and `log` outlive every port the opener hands out.
PortOpener FakeDriverPortOpener(FakePortScript& script, FakePortLog& log);

} // namespace testing_support
