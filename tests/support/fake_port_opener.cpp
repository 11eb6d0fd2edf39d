#include "tests/support/fake_port_opener.h"

#include "link/log_queue.h"
#include "tests/support/run_environment_parts.h"

namespace testing_support {
namespace {

FakePortOpener* g_active = nullptr;

std::unique_ptr<platform::SerialPort> OpenFake(const std::string& name, uint32_t& error) {
    FakePortOpener& opener = *g_active;
    return OpenFakeSerialPort(opener.script, opener.log, name, error,
                              [&opener] { opener.queuedAtClose = LogQueueCount(); });
}

} // namespace

FakePortOpener::FakePortOpener() {
    g_active = this;
    UsePortOpener(&OpenFake);
}

FakePortOpener::~FakePortOpener() {
    UsePortOpener(&platform::OpenSerialPort);
    g_active = nullptr;
}

} // namespace testing_support
