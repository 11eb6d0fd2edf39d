#include "coindata/records/current_coin.h"

char szCurrentCoinId[kCoinIdFieldBytes] = "RU1K0B";
std::array<CoinStatRecord, kArchiveCapacity> stArchive;
int32_t iArchiveCount = 0;
CoinWeights stCurrentWeights;

namespace {
constexpr size_t kShortestLoadableId = 2;
constexpr size_t kLongestLoadableId = 98;
} // namespace

bool CoinIdLoadable(const char* coinId) {
    if (coinId == nullptr) return false;
    size_t length = 0;
    while (length < kCoinIdFieldBytes && coinId[length] != '\0') ++length;
    return length >= kShortestLoadableId && length <= kLongestLoadableId;
}
