// What the calibration report keeps of one best coin's results: how many
// came and how many were accepted, how many had each error sum, and the
// smallest lead over the next coin. An error sum is two bytes of the result
// frame added (0 to 510), so a tally holds at most 511 counts however long
// the run, and the summary drawn from it is exact, the median included.
#pragma once

#include "ui/report/coin_summary.h"

#include <cstddef>
#include <map>
#include <string>

class CoinTally {
public:
    void Add(int bestSum, int nextSum, bool accepted);

    unsigned Seen() const { return seen_; }
    // The distinct error sums counted.
    size_t Entries() const { return sumCounts_.size(); }

    CoinSummary Summary(const std::string& coin, int maxError) const;

private:
    unsigned seen_ = 0;
    unsigned accepted_ = 0;
    int marginToNext_ = 0;
    std::map<int, unsigned> sumCounts_;
};
