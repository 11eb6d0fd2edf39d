// Reading the event buffer: the counter baseline, the device-reset question
// and the new events since the last read.
#include "demo/driver/cct_driver.h"
#include "demo/driver/event_decoding.h"

namespace {
// One bad byte must not cost the connection: a failed read is tried again.
constexpr int kBufferedCreditTries = 3;
} // namespace

void CCctDriver::DeviceIdentified(uint32_t serialNumber) { deviceSerial_ = serialNumber; }

int CCctDriver::ReadBufferedCredit(CctReply& reply) {
    int n = 0;
    for (int i = 0; i < kBufferedCreditTries; ++i) {
        n = Request(kHdrReadBufferedCredit, {}, reply);
        if (n == kBufferedCreditLength) break;
    }
    return n;
}

int CCctDriver::PollEvents(PollCounts& counts) {
    counts = PollCounts{};
    CctReply reply;
    if (ReadBufferedCredit(reply) != kBufferedCreditLength) return -1;

    const uint8_t counter = reply.data[0];
    counts.counter = counter;
    // The first read after an identification only takes the baseline. The
    // counter of the same device went on while it was not polled: what it
    // went past is lost.
    if (m_bCounterSeen == 0) {
        if (ResumesCounter() && counter != 0 && counter != s_LastEventCounter) {
            counts.lost = EventsSince(counter, s_LastEventCounter);
        }
        s_LastEventCounter = counter;
        m_bCounterSeen = 1;
        counterKnown_ = true;
        counterSerial_ = deviceSerial_;
    }
    if (counter == s_LastEventCounter) return 0;
    if (counter == 0) {
        s_LastEventCounter = 0;
        if (askReinitialize && askReinitialize()) return -1;
    }
    TakeNewEvents(reply.data, s_LastEventCounter, counts);
    return 1;
}
