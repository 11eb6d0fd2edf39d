// Reading the event buffer: the counter baseline, the device-reset question
// and the new events since the last read.
#include "demo/driver/cct_driver.h"
#include "demo/driver/event_decoding.h"

int CCctDriver::PollEvents(PollCounts& counts) {
    counts = PollCounts{};
    CctReply reply;
    if (Request(kHdrReadBufferedCredit, {}, reply) != kBufferedCreditLength) return -1;

    const uint8_t counter = reply.data[0];
    // The first read after an identification only takes the baseline.
    if (m_bCounterSeen == 0) {
        s_LastEventCounter = counter;
        m_bCounterSeen = 1;
    }
    if (counter == s_LastEventCounter) return 0;
    if (counter == 0) {
        s_LastEventCounter = 0;
        if (m_AskReinitialize && m_AskReinitialize()) return -1;
    }
    DecodeEvents(reply.data, NewEventCount(counter, s_LastEventCounter), counts);
    s_LastEventCounter = counter;
    return 1;
}
