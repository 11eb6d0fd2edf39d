// Pollbench's driver and main window core against a one-wire bus of any
// content: the input's first byte is the session's plan
// (tests/fuzz/pollbench_session.h), the rest plays the device reply by
// reply (tests/fuzz/reply_stream.h): discovery, identification with the
// table read-backs, buffered-credit polling and the operator's commands.
#include "demo/driver/cct_protocol.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/fuzz/pollbench_session.h"
#include "tests/fuzz/reply_stream.h"
#include "tests/support/fake_driver_port_opener.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// A reply marked sealed gets the length its head announces and its checksum.
void SealReply(const uint8_t* /*request*/, size_t /*n*/, std::vector<uint8_t>& reply) {
    if (reply.size() < kCctHeadLength) return;
    reply.resize(kCctFrameOverhead + reply[kCctLength]);
    reply.back() = CctChecksum(reply.data(), reply.size() - 1);
}

// Ticks past the input's end only meet silence; a few show that a lost
// device is looked for again.
constexpr int kTicksAfterEnd = 2;
constexpr int kMostTicks = 4096;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const uint8_t plan = input.Byte();
    ReplyStream stream(input);
    stream.seal = SealReply;
    testing_support::FakePortScript script = PlayedBy(stream, true);
    testing_support::FakePortLog log;
    int silentTicks = 0;
    const auto more = [&](int tick) {
        if (stream.Exhausted()) ++silentTicks;
        return tick < kMostTicks && silentTicks <= kTicksAfterEnd;
    };
    RunPollbenchSession(plan, testing_support::FakeDriverPortOpener(script, log), more);
    FUZZ_REQUIRE(stream.LongestWrite() <= kCctFrameSize);
    return 0;
}
