// The calibration report of a monitoring run: every new coin result the
// acceptor gave, as the run watch hands them over (all published since its
// last look, so none is missed between two refreshes of the screen, and a
// count of those the watch fell too far behind to see), written to
// results.csv as they come; at the end a summary per coin (summary.csv) and a histogram of
// the best coin's error sum per coin with Max_Error marked (errors.svg).
// A run may last hours, so no result is kept: only a tally per best coin,
// for at most kMostReportCoins coins; the results of any coin after those
// are pooled under kOtherCoins.
#pragma once

#include "commands/coin_result.h"
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

    // The results one look of the run watch brought, and how many it
    // missed. The first result of a run is the acceptor's latest from
    // before the start: shown, never counted, and so not taken.
    void Take(const std::vector<PublishedCoinResult>& results, uint64_t missed);

    // The new results taken since the report was made.
    uint64_t TakenCount() const;
    // The results the watch missed: in no file, told in the summary table.
    uint64_t MissedCount() const;
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

    void Add(const CalibrationResult& result);
    CoinTally& TallyOf(const std::string& coin);

    mutable std::mutex lock_;
    std::string folder_;
    std::FILE* results_ = nullptr;
    uint64_t taken_ = 0;
    std::vector<KeptCoin> coins_; // in the order they first came
    CoinTally others_;            // every coin after the first kMostReportCoins
    uint64_t missed_ = 0;
};

// The summary as a table for the terminal (UTF-8, device text escaped),
// with a line for results the report missed, when it missed any.
std::string CalibrationSummaryTable(const std::vector<CoinSummary>& summaries, int maxError, uint64_t missed = 0);
