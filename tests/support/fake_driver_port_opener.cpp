#include "tests/support/fake_driver_port_opener.h"

namespace testing_support {

PortOpener FakeDriverPortOpener(FakePortScript& script, FakePortLog& log) {
    return [&script, &log](const std::string& device) -> std::unique_ptr<platform::SerialPort> {
        uint32_t error = 0;
        return OpenFakeSerialPort(script, log, device, error);
    };
}

} // namespace testing_support
