// The calibration report of a monitoring run: every new coin result the
// acceptor gave, taken from the link's frames as they pass (so none is
// missed between two refreshes of the screen), written to results.csv as
// it comes; at the end a summary per coin (summary.csv) and a histogram of
// the best coin's error sum per coin with Max_Error marked (errors.svg).
#pragma once

#include "platform/trace_line.h"

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

struct CalibrationResult {
    std::string time;
    int row = 0;
    std::string bestCoin;
    int bestStat = 0;
    int bestNeural = 0;
    std::string nextCoin;
    int nextStat = 0;
    int nextNeural = 0;
    bool accepted = false;
    unsigned counter = 0;
    uint32_t stamp = 0;
    int BestSum() const { return bestStat + bestNeural; }
    int NextSum() const { return nextStat + nextNeural; }
};

struct CoinSummary {
    std::string coin;
    unsigned seen = 0;
    unsigned accepted = 0;
    int smallest = 0;
    double median = 0;
    int largest = 0;
    int marginToMaxError = 0; // Max_Error less the largest error sum
    int marginToNext = 0;     // the smallest lead over the next-best coin's sum
    std::vector<int> sums;    // every error sum, in order of arrival
};

class CalibrationReport {
public:
    CalibrationReport() = default;
    ~CalibrationReport();
    CalibrationReport(const CalibrationReport&) = delete;
    CalibrationReport& operator=(const CalibrationReport&) = delete;

    // Makes `folder` when missing and starts results.csv; false with `error`.
    bool Open(const std::string& folder, std::string& error);

    // A frame of the link (the wire trace's frame listener).
    void OnFrame(platform::TraceDirection direction, const std::vector<uint8_t>& frame, int function);

    std::vector<CalibrationResult> Results() const;
    // One summary per best coin, in the order the coins first came.
    std::vector<CoinSummary> Summaries(int maxError) const;

    // Writes summary.csv and errors.svg; false with `error`.
    bool Finish(int maxError, std::string& error);

private:
    void Take(const CalibrationResult& result);

    mutable std::mutex lock_;
    std::string folder_;
    std::FILE* results_ = nullptr;
    std::vector<CalibrationResult> taken_;
    bool haveLast_ = false; // a result seen since the last identification
    uint32_t lastStamp_ = 0;
    unsigned lastCounter_ = 0;
};

// The summary as a table for the terminal (UTF-8, device text escaped).
std::string CalibrationSummaryTable(const std::vector<CoinSummary>& summaries, int maxError);
