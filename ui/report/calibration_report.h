// The calibration report of a monitoring run: every new coin result the
// acceptor gave, taken from the link's frames as they pass (so none is
// missed between two refreshes of the screen), written to results.csv as
// it comes; at the end a summary per coin (summary.csv) and a histogram of
// the best coin's error sum per coin with Max_Error marked (errors.svg).
// A run may last hours, so no result is kept: only a tally per best coin,
// for at most kMostReportCoins coins; the results of any coin after those
// are pooled under kOtherCoins.
#pragma once

#include "platform/trace_line.h"
#include "ui/report/coin_summary.h"
#include "ui/report/coin_tally.h"

#include <cstddef>
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

constexpr size_t kMostReportCoins = 256;
// Seven characters: never a coin id, which has six at most.
constexpr char kOtherCoins[] = "(other)";

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

    // The new results taken since the report was made.
    uint64_t TakenCount() const;
    // The error-sum counts held over every coin: all the report keeps grows
    // with these and the coins, never with the results.
    size_t HistogramEntries() const;
    // One summary per best coin, in the order the coins first came, then
    // the pooled kOtherCoins when coins came past the first kMostReportCoins.
    std::vector<CoinSummary> Summaries(int maxError) const;

    // Writes summary.csv and errors.svg; false with `error`.
    bool Finish(int maxError, std::string& error);

private:
    struct KeptCoin {
        std::string coin;
        CoinTally tally;
    };

    void Take(const CalibrationResult& result);
    CoinTally& TallyOf(const std::string& coin);

    mutable std::mutex lock_;
    std::string folder_;
    std::FILE* results_ = nullptr;
    uint64_t taken_ = 0;
    std::vector<KeptCoin> coins_; // in the order they first came
    CoinTally others_;            // every coin after the first kMostReportCoins
    bool haveLast_ = false; // a result seen since the last identification
    uint32_t lastStamp_ = 0;
    unsigned lastCounter_ = 0;
};

// The summary as a table for the terminal (UTF-8, device text escaped).
std::string CalibrationSummaryTable(const std::vector<CoinSummary>& summaries, int maxError);
