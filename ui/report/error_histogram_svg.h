// errors.svg of the calibration report: one histogram per coin of the best
// coin's error sum, with the acceptor's Max_Error marked, axes, the coin's
// name and the counts. Plain SVG, written by hand.
#pragma once

#include "ui/report/coin_summary.h"

#include <map>
#include <string>
#include <vector>

// The whole document.
std::string ErrorHistogramSvg(const std::vector<CoinSummary>& coins, int maxError);

bool WriteErrorHistogramSvg(const std::string& path, const std::vector<CoinSummary>& coins, int maxError,
                            std::string& error);

// The bins of one histogram: sums from 0 to `top` in bins `width` wide,
// from the number of coins per sum.
struct HistogramBins {
    int width = 1;
    std::vector<unsigned> counts;
};
HistogramBins BinSums(const std::map<int, unsigned>& sumCounts, int top);

// The largest sum an axis shows: past Max_Error and past every sum.
int HistogramTop(const std::vector<CoinSummary>& coins, int maxError);
