// The coin results of the monitoring sub-command. The service thread
// publishes each new result whole, with the event counter and record stamp
// it came with and a sequence number, and raises bNewData only after
// publishing; the front end's run watch takes copies, under a lock. The
// last kCoinResultHistory results are kept, so a reader that looks every
// 100 ms still gets every result of a burst, and one that fell further
// behind learns how many it missed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct CoinResultRecord {
    int32_t aiStatErrors[2] = {};   // statistical method: best, next-best coin
    int32_t aiNeuralErrors[2] = {}; // neural network: best, next-best coin
    char szBestCoin[7] = {};
    char szNextCoin[7] = {};
    uint8_t abResultA[5] = {}; // the acceptor's last five result pairs
    uint8_t abResultB[5] = {};
    int32_t iResultCoinIndex = 0; // as the acceptor sent it, even outside 0-15
    int32_t bAccepted = 0;
};

// One published result and what came with it.
struct PublishedCoinResult {
    uint64_t sequence = 0; // 1 for the program's first result; 0 = none yet
    CoinResultRecord result;
    int32_t stamp = -1;   // the record stamp (dwLastRecordNumber)
    uint32_t counter = 0; // the event counter (bLastEventCounter)
    // The acceptor's latest result from before the run: shown, never counted.
    bool firstOfRun = false;
    std::string time; // when it came, "YYYY-MM-DD hh:mm:ss.mmm" local time
};

constexpr size_t kCoinResultHistory = 64;

// What came after a reader's last look.
struct CoinResultsSince {
    std::vector<PublishedCoinResult> results; // oldest first
    // Published after the look but gone from the history before this one.
    uint64_t missed = 0;
    uint64_t lastSequence = 0; // the newest published, for the next look
};

// On the service thread: a new result, with its stamp and counter.
void PublishCoinResult(const CoinResultRecord& result, int32_t stamp, uint32_t counter, bool firstOfRun);

// The latest result (all zero before the first).
CoinResultRecord GetCoinResult();
// The sequence number of the latest result (0 before the first).
uint64_t LastCoinResultSequence();
// Every result published after `seen`, as far as the history reaches.
CoinResultsSince CoinResultsAfter(uint64_t seen);
