#include "commands/coin_result.h"

#include <mutex>

namespace {
std::mutex g_lock;
CoinResultRecord g_result;
} // namespace

CoinResultRecord GetCoinResult() {
    std::lock_guard<std::mutex> guard(g_lock);
    return g_result;
}

void SetCoinResult(const CoinResultRecord& result) {
    std::lock_guard<std::mutex> guard(g_lock);
    g_result = result;
    g_result.szBestCoin[sizeof g_result.szBestCoin - 1] = '\0';
    g_result.szNextCoin[sizeof g_result.szNextCoin - 1] = '\0';
}
