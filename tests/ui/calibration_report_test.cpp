// The calibration report keeps a small tally per coin, not every result: the
// summary drawn from it is the one the full list of results gives, the files
// are the ones the report has always written, and a long run or a flood of
// coin ids does not make it hold more.
#include "ui/report/calibration_report.h"

#include "commands/coin_result.h"
#include "ui/report/coin_tally.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <regex>
#include <string>
#include <vector>

namespace {

constexpr size_t kTimeChars = 23; // "YYYY-MM-DD hh:mm:ss.mmm" at the start of a results.csv line

struct Coin {
    std::string best;
    int bestStat = 0;
    int bestNeural = 0;
    std::string next;
    int nextStat = 0;
    int nextNeural = 0;
    bool accepted = false;
    int row = 0;
};

// The record the service thread publishes for a coin.
CoinResultRecord ResultRecord(const Coin& c) {
    CoinResultRecord record;
    record.aiStatErrors[0] = c.bestStat;
    record.aiStatErrors[1] = c.nextStat;
    record.aiNeuralErrors[0] = c.bestNeural;
    record.aiNeuralErrors[1] = c.nextNeural;
    std::strncpy(record.szBestCoin, c.best.c_str(), sizeof record.szBestCoin - 1);
    std::strncpy(record.szNextCoin, c.next.c_str(), sizeof record.szNextCoin - 1);
    record.iResultCoinIndex = c.row;
    record.bAccepted = c.accepted ? 1 : 0;
    return record;
}

// Plays a run to the report as the service thread publishes it and the run
// watch hands it over: the acceptor's latest result from before the start
// (the run's first, not counted), then each coin as a new result, each
// look right after its result.
class ReportFeed {
public:
    explicit ReportFeed(CalibrationReport& report) : report_(report), seen_(LastCoinResultSequence()) {
        Publish(Coin{"OLD", 9, 9, "OLD2", 9, 9, true, 0}, true);
        Look();
    }
    void Send(const Coin& c) {
        Publish(c, false);
        Look();
    }
    // A result published without a look after it.
    void Publish(const Coin& c, bool firstOfRun) {
        ++stamp_;
        PublishCoinResult(ResultRecord(c), static_cast<int32_t>(stamp_), stamp_ & 0xFF, firstOfRun);
    }
    // What one look of the watch hands the report.
    void Look() {
        const CoinResultsSince since = CoinResultsAfter(seen_);
        seen_ = since.lastSequence;
        report_.Take(since.results, since.missed);
    }

private:
    CalibrationReport& report_;
    uint64_t seen_;
    uint32_t stamp_ = 1000;
};

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// results.csv without the time at the start of each result line.
std::string WithoutTimes(const std::string& csv) {
    std::string out;
    size_t at = 0;
    for (bool header = true; at < csv.size(); header = false) {
        const size_t end = std::min(csv.find('\n', at), csv.size() - 1) + 1;
        out += csv.substr(header ? at : at + kTimeChars, end - (header ? at : at + kTimeChars));
        at = end;
    }
    return out;
}

std::string Expected(const std::string& name) { return FileText(std::string(CALIBRATION_REPORT_DATA) + "/" + name); }

// A short run over three coins, ids that need quoting and escaping among
// them, even and odd counts: the files and the table read as they always did.
TEST(CalibrationReportFiles, SmallRunWritesTheSameFilesAsBefore) {
    const std::string folder = ::testing::TempDir() + "calibration_report_files";
    CalibrationReport report;
    std::string error;
    ASSERT_TRUE(report.Open(folder, error)) << error;
    {
        ReportFeed feed(report);
        feed.Send(Coin{"RU005B", 1, 0, "RU010B", 8, 5, true, 2});
        feed.Send(Coin{"RU005B", 4, 2, "RU010B", 9, 6, true, 2});
        feed.Send(Coin{"RU,5", 3, 3, "RU005B", 20, 20, false, 7});
        feed.Send(Coin{"RU005B", 8, 6, "RU010B", 9, 9, false, 2});
        feed.Send(Coin{"A&<1", 2, 1, "RU10K0", 20, 20, true, 4});
        feed.Send(Coin{"RU005B", 5, 4, "RU010B", 30, 1, true, 2});
        feed.Send(Coin{"RU,5", 40, 30, "RU005B", 200, 100, true, 7});
        feed.Send(Coin{"A&<1", 2, 2, "RU10K0", 3, 2, true, 4});
        feed.Send(Coin{"RU,5", 1, 0, "RU005B", 2, 2, true, 7});
    }
    const int maxError = 12;
    const std::string table = CalibrationSummaryTable(report.Summaries(maxError), maxError);
    ASSERT_TRUE(report.Finish(maxError, error)) << error;
    EXPECT_EQ(Expected("results.csv"), WithoutTimes(FileText(folder + "/results.csv")));
    EXPECT_EQ(Expected("summary.csv"), FileText(folder + "/summary.csv"));
    EXPECT_EQ(Expected("errors.svg"), FileText(folder + "/errors.svg"));
    EXPECT_EQ(Expected("table.txt"), table);
}

// The summary as the report computed it when it kept every result: the sums
// of one coin sorted, the median from the middle of the sorted list.
CoinSummary SummaryOfList(const std::string& coin, const std::vector<Coin>& results, int maxError) {
    CoinSummary s;
    s.coin = coin;
    std::vector<int> sums;
    for (const Coin& x : results) {
        if (x.best != coin) continue;
        const int sum = x.bestStat + x.bestNeural;
        const int lead = x.nextStat + x.nextNeural - sum;
        s.marginToNext = sums.empty() ? lead : std::min(s.marginToNext, lead);
        ++s.seen;
        if (x.accepted) ++s.accepted;
        sums.push_back(sum);
        ++s.sumCounts[sum];
    }
    std::sort(sums.begin(), sums.end());
    s.smallest = sums.front();
    s.largest = sums.back();
    const size_t n = sums.size();
    s.median = n % 2 == 1 ? sums[n / 2] : (sums[n / 2 - 1] + sums[n / 2]) / 2.0;
    s.marginToMaxError = maxError - s.largest;
    return s;
}

void ExpectSameSummary(const CoinSummary& want, const CoinSummary& got) {
    EXPECT_EQ(want.coin, got.coin);
    EXPECT_EQ(want.seen, got.seen) << want.coin;
    EXPECT_EQ(want.accepted, got.accepted) << want.coin;
    EXPECT_EQ(want.smallest, got.smallest) << want.coin;
    EXPECT_EQ(want.median, got.median) << want.coin << " of " << want.seen;
    EXPECT_EQ(want.largest, got.largest) << want.coin;
    EXPECT_EQ(want.marginToMaxError, got.marginToMaxError) << want.coin;
    EXPECT_EQ(want.marginToNext, got.marginToNext) << want.coin;
    EXPECT_EQ(want.sumCounts, got.sumCounts) << want.coin;
}

TEST(CalibrationReportTally, MedianIsTheMiddleOfTheSortedSums) {
    CoinTally tally;
    for (const int sum : {5, 1, 9, 1}) tally.Add(sum, 20, true);
    EXPECT_EQ(3.0, tally.Summary("RU005B", 12).median); // 1 1 5 9
    tally.Add(2, 20, false);
    EXPECT_EQ(2.0, tally.Summary("RU005B", 12).median); // 1 1 2 5 9
    tally.Add(6, 20, false);
    EXPECT_EQ(3.5, tally.Summary("RU005B", 12).median); // 1 1 2 5 6 9
}

// Random runs, from a few distinct sums (many ties) to the whole range two
// error bytes can give: every figure of every coin as the full list gave it.
TEST(CalibrationReportTally, SummaryEqualsTheOneOfTheFullList) {
    std::mt19937 random(20240117);
    const std::vector<std::string> ids = {"RU005B", "RU010B", "RU050B", "RU1K0B"};
    const int maxError = 40;
    unsigned evenCounts = 0;
    unsigned oddCounts = 0;
    for (int round = 0; round < 90; ++round) {
        const unsigned spread = round % 3 == 0 ? 3 : round % 3 == 1 ? 40 : 256;
        CalibrationReport report;
        std::vector<Coin> sent;
        {
            ReportFeed feed(report);
            const unsigned count = 1 + random() % 120;
            for (unsigned i = 0; i < count; ++i) {
                Coin c;
                c.best = ids[random() % ids.size()];
                c.bestStat = static_cast<int>(random() % spread);
                c.bestNeural = static_cast<int>(random() % spread);
                c.next = "RU10K0";
                c.nextStat = static_cast<int>(random() % 256);
                c.nextNeural = static_cast<int>(random() % 256);
                c.accepted = random() % 2 == 0;
                feed.Send(c);
                sent.push_back(c);
            }
        }
        std::vector<std::string> order;
        for (const Coin& c : sent) {
            if (std::find(order.begin(), order.end(), c.best) == order.end()) order.push_back(c.best);
        }
        const std::vector<CoinSummary> got = report.Summaries(maxError);
        ASSERT_EQ(order.size(), got.size());
        for (size_t i = 0; i < order.size(); ++i) {
            const CoinSummary want = SummaryOfList(order[i], sent, maxError);
            ExpectSameSummary(want, got[i]);
            ++(want.seen % 2 == 0 ? evenCounts : oddCounts);
        }
        EXPECT_EQ(sent.size(), report.TakenCount());
    }
    EXPECT_GT(evenCounts, 20u);
    EXPECT_GT(oddCounts, 20u);
}

// Hours of coins: what the report holds stops growing once every sum a coin
// can have has come, whatever the number of results.
TEST(CalibrationReportTally, LongRunHoldsNoPerResultStorage) {
    const std::vector<std::string> ids = {"RU005B", "RU010B", "RU050B"};
    constexpr int kSumsPossible = 511; // two error bytes added
    constexpr int kResults = 200000;
    CalibrationReport report;
    size_t entriesHalfway = 0;
    {
        ReportFeed feed(report);
        for (int i = 0; i < kResults; ++i) {
            const int sum = (i / 3) % kSumsPossible;
            feed.Send(Coin{ids[i % 3], std::min(sum, 255), sum - std::min(sum, 255), "RU1K0B", 255, 255, i % 2 == 0, 1});
            if (i + 1 == kResults / 2) entriesHalfway = report.HistogramEntries();
        }
    }
    EXPECT_EQ(static_cast<uint64_t>(kResults), report.TakenCount());
    EXPECT_EQ(ids.size() * kSumsPossible, entriesHalfway);
    EXPECT_EQ(entriesHalfway, report.HistogramEntries());
    const std::vector<CoinSummary> coins = report.Summaries(12);
    ASSERT_EQ(3u, coins.size());
    EXPECT_EQ(66667u, coins[0].seen);
    EXPECT_EQ(66666u, coins[2].seen);
    EXPECT_EQ(0, coins[0].smallest);
    EXPECT_EQ(510, coins[0].largest);
}

// A flood of coin ids keeps the first kMostReportCoins apart and pools the
// rest under one line, in the table, summary.csv and errors.svg alike.
TEST(CalibrationReportTally, CoinsPastTheCapArePooled) {
    const std::string folder = ::testing::TempDir() + "calibration_report_cap";
    CalibrationReport report;
    std::string error;
    ASSERT_TRUE(report.Open(folder, error)) << error;
    {
        ReportFeed feed(report);
        for (int n = 0; n < 300; ++n) feed.Send(Coin{"C" + std::to_string(n), n % 7, 1, "NX", 20, 20, n % 2 == 0, 1});
        feed.Send(Coin{"C0", 3, 3, "NX", 20, 20, true, 1});     // a kept coin goes on counting
        feed.Send(Coin{"C299", 50, 0, "NX", 51, 2, false, 1}); // a pooled one stays pooled
    }
    const int maxError = 12;
    const std::vector<CoinSummary> coins = report.Summaries(maxError);
    ASSERT_EQ(kMostReportCoins + 1, coins.size());
    EXPECT_EQ("C0", coins[0].coin);
    EXPECT_EQ(2u, coins[0].seen);
    EXPECT_EQ(6, coins[0].largest);
    EXPECT_EQ("C255", coins[kMostReportCoins - 1].coin);
    const CoinSummary& other = coins.back();
    EXPECT_EQ(kOtherCoins, other.coin);
    EXPECT_EQ(45u, other.seen); // C256 to C299, and C299 again
    EXPECT_EQ(22u, other.accepted);
    EXPECT_EQ(1, other.smallest);
    EXPECT_EQ(50, other.largest);
    EXPECT_EQ(3, other.marginToNext);
    EXPECT_EQ(302u, report.TakenCount());
    EXPECT_LE(report.HistogramEntries(), (kMostReportCoins + 1) * 511);

    const std::string table = CalibrationSummaryTable(coins, maxError);
    EXPECT_NE(std::string::npos, table.find("\n(other)    45        22         1     4.0       50           -38        3\n"))
        << table;
    EXPECT_NE(std::string::npos, table.find("\n(other): every coin after the first 256, pooled\nMax_Error 12;")) << table;
    ASSERT_TRUE(report.Finish(maxError, error)) << error;
    const std::string summary = FileText(folder + "/summary.csv");
    EXPECT_EQ(kMostReportCoins + 2, static_cast<size_t>(std::count(summary.begin(), summary.end(), '\n')));
    EXPECT_NE(std::string::npos, summary.find("\n(other),45,22,1,4.0,50,12,-38,3\n")) << summary;
    const std::string svg = FileText(folder + "/errors.svg");
    const std::regex panel("<g class=\"coin\" data-coin=\"[^\"]*\"");
    EXPECT_EQ(static_cast<long>(kMostReportCoins + 1),
              std::distance(std::sregex_iterator(svg.begin(), svg.end(), panel), std::sregex_iterator()));
    EXPECT_NE(std::string::npos, svg.find("<g class=\"coin\" data-coin=\"(other)\" data-seen=\"45\">"));
}

// The report takes every result a look hands over, not only the newest
// one the screen shows; a look that fell more than the history behind
// counts the results it missed, and the summary table says so.
TEST(CalibrationReportLooks, EveryResultSinceTheLastLookIsTakenAndMissedOnesCounted) {
    const std::string folder = ::testing::TempDir() + "calibration_report_looks";
    CalibrationReport report;
    std::string error;
    ASSERT_TRUE(report.Open(folder, error)) << error;
    {
        ReportFeed feed(report);
        feed.Publish(Coin{"RU005B", 1, 0, "RU010B", 8, 5, true, 2}, false);
        feed.Publish(Coin{"RU010B", 2, 2, "RU005B", 9, 9, false, 3}, false);
        feed.Look(); // two results between two looks
        EXPECT_EQ(2u, report.TakenCount());
        EXPECT_EQ(0u, report.MissedCount());
        for (size_t i = 0; i < kCoinResultHistory + 6; ++i) feed.Publish(Coin{"RU050B", 3, 1, "RU1K0B", 9, 9, true, 4}, false);
        feed.Look();
    }
    EXPECT_EQ(2 + kCoinResultHistory, report.TakenCount());
    EXPECT_EQ(6u, report.MissedCount());
    const std::vector<CoinSummary> coins = report.Summaries(12);
    ASSERT_EQ(3u, coins.size());
    EXPECT_EQ("RU010B", coins[1].coin);
    EXPECT_EQ(1u, coins[1].seen);
    EXPECT_EQ(kCoinResultHistory, coins[2].seen);
    const std::string table = CalibrationSummaryTable(coins, 12, report.MissedCount());
    EXPECT_NE(std::string::npos,
              table.find("\n6 coin results missed (more than 64 came between two looks): in no file and no count above\n"))
        << table;
    EXPECT_EQ(std::string::npos, CalibrationSummaryTable(coins, 12).find("missed"));
    ASSERT_TRUE(report.Finish(12, error)) << error;
    const std::string results = FileText(folder + "/results.csv");
    EXPECT_EQ(static_cast<long>(3 + kCoinResultHistory), std::count(results.begin(), results.end(), '\n'));
}

} // namespace
