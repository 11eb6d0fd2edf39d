#include "ui/report/calibration_report.h"

#include "platform/csv_field.h"
#include "platform/text_encoding.h"
#include "ui/report/error_histogram_svg.h"

#include <filesystem>
#include <system_error>

namespace {

constexpr char kResultsFile[] = "results.csv";
constexpr char kSummaryFile[] = "summary.csv";
constexpr char kHistogramFile[] = "errors.svg";
constexpr char kResultsHeader[] = "time,row,best_coin,best_stat,best_neural,best_sum,next_coin,next_stat,next_neural,"
                                  "next_sum,accepted,event_counter\n";
constexpr char kSummaryHeader[] =
    "coin,seen,accepted,smallest_sum,median_sum,largest_sum,max_error,margin_to_max_error,margin_to_next\n";

CalibrationResult ReadResult(const PublishedCoinResult& published) {
    const CoinResultRecord& c = published.result;
    CalibrationResult result;
    result.time = published.time;
    result.row = c.iResultCoinIndex;
    result.bestCoin = c.szBestCoin;
    result.bestStat = c.aiStatErrors[0];
    result.bestNeural = c.aiNeuralErrors[0];
    result.nextCoin = c.szNextCoin;
    result.nextStat = c.aiStatErrors[1];
    result.nextNeural = c.aiNeuralErrors[1];
    result.accepted = c.bAccepted != 0;
    result.counter = published.counter;
    result.stamp = static_cast<uint32_t>(published.stamp);
    return result;
}

std::string MedianText(double median) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", median);
    return text;
}

} // namespace

CalibrationReport::~CalibrationReport() {
    if (results_ != nullptr) std::fclose(results_);
}

bool CalibrationReport::Open(const std::string& folder, std::string& error) {
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    if (!std::filesystem::is_directory(folder, made)) {
        error = "cannot make the report folder " + folder;
        return false;
    }
    const std::string path = folder + "/" + kResultsFile;
    std::lock_guard<std::mutex> guard(lock_);
    results_ = std::fopen(path.c_str(), "wb");
    if (results_ == nullptr) {
        error = "cannot write " + path;
        return false;
    }
    folder_ = folder;
    std::fputs(kResultsHeader, results_);
    std::fflush(results_);
    return true;
}

void CalibrationReport::Take(const std::vector<PublishedCoinResult>& results, uint64_t missed) {
    std::lock_guard<std::mutex> guard(lock_);
    missed_ += missed;
    for (const PublishedCoinResult& published : results) {
        if (!published.firstOfRun) Add(ReadResult(published));
    }
}

void CalibrationReport::Add(const CalibrationResult& x) {
    ++taken_;
    TallyOf(x.bestCoin).Add(x.BestSum(), x.NextSum(), x.accepted);
    if (results_ == nullptr) return;
    std::fprintf(results_, "%s,%d,%s,%d,%d,%d,%s,%d,%d,%d,%d,%u\n", x.time.c_str(), x.row, platform::CsvField(x.bestCoin).c_str(),
                 x.bestStat, x.bestNeural, x.BestSum(), platform::CsvField(x.nextCoin).c_str(), x.nextStat, x.nextNeural,
                 x.NextSum(), x.accepted ? 1 : 0, x.counter);
    std::fflush(results_);
}

CoinTally& CalibrationReport::TallyOf(const std::string& coin) {
    for (KeptCoin& kept : coins_) {
        if (kept.coin == coin) return kept.tally;
    }
    if (coins_.size() == kMostReportCoins) return others_;
    coins_.push_back(KeptCoin{coin, CoinTally()});
    return coins_.back().tally;
}

uint64_t CalibrationReport::TakenCount() const {
    std::lock_guard<std::mutex> guard(lock_);
    return taken_;
}

uint64_t CalibrationReport::MissedCount() const {
    std::lock_guard<std::mutex> guard(lock_);
    return missed_;
}

size_t CalibrationReport::HistogramEntries() const {
    std::lock_guard<std::mutex> guard(lock_);
    size_t entries = others_.Entries();
    for (const KeptCoin& kept : coins_) entries += kept.tally.Entries();
    return entries;
}

std::vector<CoinSummary> CalibrationReport::Summaries(int maxError) const {
    std::lock_guard<std::mutex> guard(lock_);
    std::vector<CoinSummary> summaries;
    for (const KeptCoin& kept : coins_) summaries.push_back(kept.tally.Summary(kept.coin, maxError));
    if (others_.Seen() > 0) summaries.push_back(others_.Summary(kOtherCoins, maxError));
    return summaries;
}

bool CalibrationReport::Finish(int maxError, std::string& error) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (folder_.empty()) return true;
        if (results_ != nullptr) std::fclose(results_);
        results_ = nullptr;
    }
    const std::vector<CoinSummary> coins = Summaries(maxError);
    const std::string summaryPath = folder_ + "/" + kSummaryFile;
    std::FILE* f = std::fopen(summaryPath.c_str(), "wb");
    if (f == nullptr) {
        error = "cannot write " + summaryPath;
        return false;
    }
    std::fputs(kSummaryHeader, f);
    for (const CoinSummary& s : coins) {
        std::fprintf(f, "%s,%u,%u,%d,%s,%d,%d,%d,%d\n", platform::CsvField(s.coin).c_str(), s.seen, s.accepted, s.smallest,
                     MedianText(s.median).c_str(), s.largest, maxError, s.marginToMaxError, s.marginToNext);
    }
    if (std::fclose(f) != 0) {
        error = "cannot write " + summaryPath;
        return false;
    }
    return WriteErrorHistogramSvg(folder_ + "/" + kHistogramFile, coins, maxError, error);
}

std::string CalibrationSummaryTable(const std::vector<CoinSummary>& summaries, int maxError, uint64_t missed) {
    std::string table = "Coin     Seen  Accepted  Smallest  Median  Largest  To Max_Error  To next\n";
    char row[160];
    for (const CoinSummary& s : summaries) {
        std::snprintf(row, sizeof row, "%-8s %4u  %8u  %8d  %6s  %7d  %12d  %7d\n",
                      platform::Cp1251ToTerminal(s.coin).c_str(), s.seen, s.accepted,
                      s.smallest, MedianText(s.median).c_str(), s.largest, s.marginToMaxError, s.marginToNext);
        table += row;
    }
    if (summaries.empty()) table += "(no new coin results)\n";
    if (!summaries.empty() && summaries.back().coin == kOtherCoins) {
        table += std::string(kOtherCoins) + ": every coin after the first " + std::to_string(kMostReportCoins) + ", pooled\n";
    }
    if (missed > 0) {
        table += std::to_string(missed) + " coin result" + (missed == 1 ? "" : "s") + " missed (more than " +
                 std::to_string(kCoinResultHistory) + " came between two looks): in no file and no count above\n";
    }
    return table + "Max_Error " + std::to_string(maxError) + "; the sums are the best coin's stat + neural errors\n";
}
