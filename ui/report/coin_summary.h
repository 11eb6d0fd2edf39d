// The calibration report's summary of one best coin: what summary.csv, the
// terminal table and one panel of errors.svg show.
#pragma once

#include <map>
#include <string>

struct CoinSummary {
    std::string coin;
    unsigned seen = 0;
    unsigned accepted = 0;
    int smallest = 0;
    double median = 0;
    int largest = 0;
    int marginToMaxError = 0;          // Max_Error less the largest error sum
    int marginToNext = 0;              // the smallest lead over the next-best coin's sum
    std::map<int, unsigned> sumCounts; // how many coins had each error sum
};
