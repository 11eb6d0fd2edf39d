// What a host that a sniff watches knows, learnt from the exchanges heard:
// the coin ids it read (and their values), and its event counter baseline
// (the first buffered-credit reply heard is the baseline; a counter of 0,
// a device reset, starts again from 0). Each buffered-credit reply heard is
// read against that baseline as the host's driver reads it, so a session
// report fed by a sniff counts what that host counts.
#pragma once

#include "demo/driver/poll_counts.h"
#include "demo/report/poll_session.h"
#include "demo/trace/cct_wire_trace.h"

#include <array>
#include <cstdint>
#include <string>

class HeardHost final : public SessionCoins {
public:
    // An exchange heard. True when it was a usable read of the event
    // buffer, with what it found in `counts` (no events on a baseline).
    bool Take(const CctExchange& exchange, PollCounts& counts);

    std::string CoinId(size_t index) const override { return coinIds_[index]; }
    uint32_t CoinValue(size_t index) const override { return coinValues_[index]; }

private:
    void ReadEvents(const uint8_t* reply, PollCounts& counts);

    std::array<std::string, kCoinPositions> coinIds_{};
    std::array<uint32_t, kCoinPositions> coinValues_{};
    bool counterSeen_ = false;
    uint8_t lastCounter_ = 0;
};

// Turns a sniff's lines into exchanges: a request, its echo when one was
// heard, and the reply that follows it. A request that no reply follows is
// handed on with result 1 (no reply).
class HeardExchanges {
public:
    explicit HeardExchanges(CctWireTrace::ExchangeSink sink);
    void OnLine(const platform::TraceLine& line);

private:
    CctWireTrace::ExchangeSink sink_;
    CctExchange current_;
    bool open_ = false;
};
