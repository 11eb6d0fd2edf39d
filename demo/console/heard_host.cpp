#include "demo/console/heard_host.h"

#include "demo/driver/cct_protocol.h"
#include "demo/driver/event_decoding.h"
#include "demo/texts/coin_value.h"

#include <utility>

namespace {

constexpr int kNoReply = 1;

} // namespace

bool HeardHost::Take(const CctExchange& x, PollCounts& counts) {
    if (x.result != 0 || x.request.size() <= kCctHeader || x.reply.size() < kCctFrameOverhead) return false;
    const uint8_t* data = x.reply.data() + kCctData;
    const size_t n = x.reply.size() - kCctFrameOverhead;
    const uint8_t header = x.request[kCctHeader];
    if (header == kHdrReadBufferedCredit && n == kBufferedCreditLength) {
        ReadEvents(data, counts);
        return true;
    }
    if (header == kHdrRequestCoinId && x.request.size() > kCctData) {
        const uint8_t position = x.request[kCctData];
        if (position < 1 || position > kCoinPositions) return false;
        const size_t i = position - 1u;
        coinIds_[i] = std::string(reinterpret_cast<const char*>(data), n);
        coinValues_[i] = ParseCoinValue(coinIds_[i]);
    }
    return false;
}

// As the driver reads the buffer, without its reset question: the host
// watched answers that one itself, and its next reads tell what it chose.
void HeardHost::ReadEvents(const uint8_t* reply, PollCounts& counts) {
    counts = PollCounts{};
    const uint8_t counter = reply[0];
    counts.counter = counter;
    if (!counterSeen_) {
        counterSeen_ = true;
        lastCounter_ = counter;
    }
    if (counter == lastCounter_) return;
    if (counter == 0) lastCounter_ = 0;
    TakeNewEvents(reply, lastCounter_, counts);
}

HeardExchanges::HeardExchanges(CctWireTrace::ExchangeSink sink) : sink_(std::move(sink)) {}

void HeardExchanges::OnLine(const platform::TraceLine& line) {
    using platform::TraceDirection;
    switch (line.direction) {
    case TraceDirection::Host:
        if (open_) sink_(current_);
        current_ = CctExchange{line.bytes, {}, {}, kNoReply};
        open_ = true;
        break;
    case TraceDirection::Echo:
        if (open_) current_.echo = line.bytes;
        break;
    case TraceDirection::Device:
        if (!open_) break;
        current_.reply = line.bytes;
        current_.result = 0;
        sink_(current_);
        open_ = false;
        break;
    default: break;
    }
}
