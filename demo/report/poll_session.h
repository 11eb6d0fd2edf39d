// A test session of the poll command: every event the core counts, the
// events lost between two polls, and the session's sums. It takes each read
// of the event buffer as the driver decoded it, before the core counts it
// (the core's `eventsRead` hook), so it counts exactly the events the core
// counts; a sniff hands it the reads it heard the watched host make. With a
// report folder it writes events.csv as the events come and summary.csv at
// the end.
#pragma once

#include "demo/core/demo_core.h"

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

// The coin table of the host being counted, index 0 = position 1: the
// core's own, or the one a sniff heard the watched host read.
class SessionCoins {
public:
    virtual ~SessionCoins() = default;
    virtual std::string CoinId(size_t index) const = 0;
    virtual uint32_t CoinValue(size_t index) const = 0; // hundredths
};

class PollSession {
public:
    // The session of the core's own polls.
    explicit PollSession(const CDemoCore& core);
    // The session of another host, whose coin table `coins` gives (it
    // outlives the session).
    explicit PollSession(const SessionCoins& coins);
    ~PollSession();
    PollSession(const PollSession&) = delete;
    PollSession& operator=(const PollSession&) = delete;

    // Writes events.csv into `folder` (made when missing); false with `error`.
    bool OpenReport(const std::string& folder, std::string& error);
    // Writes summary.csv; false with `error` when it cannot.
    bool FinishReport(std::string& error);

    // One read of the event buffer (CDemoCore's `eventsRead`).
    void OnEventsRead(const PollCounts& counts);

    // Lines for the operator since the last call ("lost 2 events between polls").
    std::vector<std::string> TakeNotices();

    const SessionSums& Sums() const { return sums_; }
    // Credits over credits and counted rejects, in percent; -1 without either.
    double AcceptanceRate() const;
    // The summary as a table for the terminal (UTF-8, device text escaped).
    std::string SummaryTable() const;

private:
    std::vector<PositionSum> PositionSums() const;
    void TakeEvent(const std::string& time, const PollEvent& event);
    void TakeCredits(const PollCounts& counts);
    void TakeLost(const std::string& time, uint8_t counter, int lost);
    void WriteEventRow(const std::string& time, uint8_t counter, uint8_t a, uint8_t b, const std::string& note);

    std::unique_ptr<SessionCoins> coreCoins_; // the core's, for the core's own session
    const SessionCoins& coins_;
    SessionSums sums_;
    std::array<CountedCoin, kCoinPositions + 1> counted_{};
    std::vector<std::string> notices_;
    std::string folder_;
    std::FILE* events_ = nullptr;
};
