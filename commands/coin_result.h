// The latest coin result of the monitoring sub-command. The service thread
// publishes it whole and the window thread takes a copy, under a lock; the
// thread raises bNewData only after publishing.
#pragma once

#include <cstdint>

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

CoinResultRecord GetCoinResult();
void SetCoinResult(const CoinResultRecord& result);
