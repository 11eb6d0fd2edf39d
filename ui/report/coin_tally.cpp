#include "ui/report/coin_tally.h"

#include <algorithm>
#include <cstdint>

namespace {

// The sum at place `index` (from 0) of the sums in ascending order.
int SumAt(const std::map<int, unsigned>& sumCounts, uint64_t index) {
    uint64_t through = 0;
    for (const auto& [sum, count] : sumCounts) {
        through += count;
        if (index < through) return sum;
    }
    return sumCounts.rbegin()->first; // not reached: the caller's index lies inside
}

// The middle sum, or the mean of the two middle ones for an even count.
double Median(const std::map<int, unsigned>& sumCounts) {
    uint64_t n = 0;
    for (const auto& entry : sumCounts) n += entry.second;
    if (n % 2 == 1) return SumAt(sumCounts, n / 2);
    return (SumAt(sumCounts, n / 2 - 1) + SumAt(sumCounts, n / 2)) / 2.0;
}

} // namespace

void CoinTally::Add(int bestSum, int nextSum, bool accepted) {
    const int lead = nextSum - bestSum;
    marginToNext_ = seen_ == 0 ? lead : std::min(marginToNext_, lead);
    ++seen_;
    if (accepted) ++accepted_;
    ++sumCounts_[bestSum];
}

CoinSummary CoinTally::Summary(const std::string& coin, int maxError) const {
    CoinSummary s;
    s.coin = coin;
    if (sumCounts_.empty()) return s;
    s.seen = seen_;
    s.accepted = accepted_;
    s.smallest = sumCounts_.begin()->first;
    s.largest = sumCounts_.rbegin()->first;
    s.median = Median(sumCounts_);
    s.marginToMaxError = maxError - s.largest;
    s.marginToNext = marginToNext_;
    s.sumCounts = sumCounts_;
    return s;
}
