#include "test_support.h"

#include "link/checksums.h"
#include "link/com_thread.h"
#include "link/command_mailbox.h"
#include "link/log_queue.h"
#include "platform/clock.h"
#include "link/front_end.h"
#include "tests/support/mailbox_reset.h"
#include "tests/support/run_environment_parts.h"

namespace testing_support {

std::vector<std::string> DrainLog() {
    std::vector<std::string> lines;
    LogQueueDrain([&](const char* line) { lines.emplace_back(line); });
    return lines;
}

std::vector<uint8_t> WithChecksum(std::vector<uint8_t> bytes) {
    bytes.push_back(SimpleChecksum(bytes.data(), bytes.size()));
    return bytes;
}

bool WaitForRunEnd(uint32_t timeoutMs) {
    const uint64_t deadline = platform::SteadyMilliseconds() + timeoutMs;
    while (RunExists()) {
        if (platform::SteadyMilliseconds() > deadline) return false;
        platform::SleepMilliseconds(1);
    }
    return true;
}

void ResetLinkState() {
    ResetMailbox();
    Mailbox.hComThread = 0;
    ClearExtensionHandlers();
    InstallFrontEnd(nullptr);
    // The port opener is a fixture member's, installed before SetUp.
    UseThreadStarter(&platform::StartDetachedThread);
    LogQueueInit();
}

void LinkTest::TearDown() {
    // A run left behind would outlive the test's fakes.
    Mailbox.bStopThread = 1;
    EXPECT_TRUE(WaitForRunEnd());
    ClearExtensionHandlers();
}

} // namespace testing_support
