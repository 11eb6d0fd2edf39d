// The coin the main window works on, with its statistics archive and
// weights. The window thread alone uses them.
#pragma once

#include "coindata/records/coin_stat_record.h"
#include "coindata/records/coin_weights.h"

#include <array>
#include <cstddef>
#include <cstdint>

constexpr size_t kCoinIdFieldBytes = 100;
constexpr size_t kArchiveCapacity = 10000;

extern char szCurrentCoinId[kCoinIdFieldBytes]; // initially "RU1K0B"
extern std::array<CoinStatRecord, kArchiveCapacity> stArchive;
extern int32_t iArchiveCount;
extern CoinWeights stCurrentWeights;

// The archive and weights files are looked for only for an identifier of
// 2 to 98 characters.
bool CoinIdLoadable(const char* coinId);
