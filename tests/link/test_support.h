// Helpers shared by the link's tests: the queued lines, the mailbox reset,
// frames with their checksum, and waiting for a run to end.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// Every queued line, oldest first; the queue is empty afterwards.
std::vector<std::string> DrainLog();

// A frame: `bytes` followed by their simple checksum.
std::vector<uint8_t> WithChecksum(std::vector<uint8_t> bytes);

// Waits until no run exists; false if one still does after `timeoutMs`.
bool WaitForRunEnd(uint32_t timeoutMs = 10000);

// Resets the mailbox, the handler table, the front end, the thread start
// and the queue.
void ResetLinkState();

class LinkTest : public ::testing::Test {
protected:
    void SetUp() override { ResetLinkState(); }
    void TearDown() override;
};

} // namespace testing_support
