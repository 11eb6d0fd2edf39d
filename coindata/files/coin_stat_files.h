// The current coin's files in ".\Coins Stat\": its statistics archive
// (<id>.coin) and its weights (<id>.aut). Results 0 read, 1 missing,
// 2 damaged.
#pragma once

#include "coindata/records/coin_weights.h"

// Into stArchive; on 1 and 2 iArchiveCount = 0.
int ReadArchive(const char* szCoinId);

// Into *pWeights; on 1 and 2 words 0-75 and iCount are 0 and words 76-79
// keep their values.
int ReadWeights(const char* szCoinId, CoinWeights* pWeights);

// At start: ReadWeights and ReadArchive for szCurrentCoinId when loadable.
void LoadCurrentCoinFiles();
