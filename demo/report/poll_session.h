// A test session of the poll command: every event the core counts, the
// events lost between two polls, and the session's sums. It listens to the
// driver's exchanges (the wire trace's) and reads the driver's event
// counter baseline before the core takes the reply, so it counts exactly
// the events the core counts; a sniff feeds it the exchanges it heard and
// what the host it watches knows (demo/report/heard_host.h). With a report
// folder it writes events.csv as the events come and summary.csv at the end.
#pragma once

#include "demo/core/demo_core.h"
#include "demo/trace/cct_wire_trace.h"

#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct SessionSums {
    std::array<unsigned, kCoinPositions + 1> credits{}; // index p: credits of position p
    std::array<uint32_t, kCoinPositions + 1> money{};   // index p: hundredths, valued as each credit came
    std::map<uint8_t, unsigned> errors;                 // error code: events
    unsigned rejects = 0;                               // counted rejects (codes 1, 2, 8, 9, 10, 11)
    unsigned lost = 0;                                  // events the device held no longer
    unsigned unpriced = 0;                              // credits of a position without a value
    unsigned events = 0;
};

// A coin position as it was when its last credit was counted: the table
// may be blank by the end (a lost connection clears it).
struct CountedCoin {
    std::string id;
    uint32_t value = 0; // hundredths
};

// One coin position's share of the session.
struct PositionSum {
    int position;
    std::string id;
    uint32_t value;   // hundredths
    unsigned credits;
    uint32_t money;   // hundredths
};

// What the host knows when a buffered-credit reply comes, before it takes
// the reply: its counter baseline and its coin table.
class SessionHost {
public:
    virtual ~SessionHost() = default;
    // Whether the host has a baseline; without one the reply becomes it.
    virtual bool CounterSeen() const = 0;
    // Whether a new baseline continues the counter of the same device.
    virtual bool ResumesCounter() const = 0;
    virtual uint8_t LastCounter() const = 0;
    // The coin position's id and value (hundredths), index 0 = position 1.
    virtual std::string CoinId(size_t index) const = 0;
    virtual uint32_t CoinValue(size_t index) const = 0;
};

class PollSession {
public:
    // The session of the core's own polls.
    explicit PollSession(const CDemoCore& core);
    // The session of another host: `host` outlives the session.
    explicit PollSession(const SessionHost& host);
    ~PollSession();
    PollSession(const PollSession&) = delete;
    PollSession& operator=(const PollSession&) = delete;

    // Writes events.csv into `folder` (made when missing); false with `error`.
    bool OpenReport(const std::string& folder, std::string& error);
    // Writes summary.csv; false with `error` when it cannot.
    bool FinishReport(std::string& error);

    void OnExchange(const CctExchange& exchange);

    // Lines for the operator since the last call ("lost 2 events between polls").
    std::vector<std::string> TakeNotices();

    const SessionSums& Sums() const { return sums_; }
    // Credits over credits and counted rejects, in percent; -1 without either.
    double AcceptanceRate() const;
    // The summary as a table for the terminal (UTF-8, device text escaped).
    std::string SummaryTable() const;

private:
    std::vector<PositionSum> PositionSums() const;
    void TakeEvent(const std::string& time, uint8_t counter, uint8_t a, uint8_t b);
    void TakeCredit(uint8_t position);
    void TakeLost(const std::string& time, uint8_t counter, int lost);
    void WriteEventRow(const std::string& time, uint8_t counter, uint8_t a, uint8_t b, const std::string& note);

    std::unique_ptr<SessionHost> coreHost_; // the core's, when the session is the core's
    const SessionHost& host_;
    SessionSums sums_;
    std::array<CountedCoin, kCoinPositions + 1> counted_{};
    std::vector<std::string> notices_;
    std::string folder_;
    std::FILE* events_ = nullptr;
};
