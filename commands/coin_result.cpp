#include "commands/coin_result.h"

#include "platform/local_time.h"

#include <array>
#include <mutex>

namespace {

std::mutex g_lock;
// Result n lies at (n - 1) % kCoinResultHistory.
std::array<PublishedCoinResult, kCoinResultHistory> g_history;
uint64_t g_lastSequence = 0;

PublishedCoinResult& Slot(uint64_t sequence) { return g_history[(sequence - 1) % kCoinResultHistory]; }

// A coin id is six characters and a terminator, whatever the acceptor sent.
CoinResultRecord Terminated(const CoinResultRecord& result) {
    CoinResultRecord kept = result;
    kept.szBestCoin[sizeof kept.szBestCoin - 1] = '\0';
    kept.szNextCoin[sizeof kept.szNextCoin - 1] = '\0';
    return kept;
}

} // namespace

void PublishCoinResult(const CoinResultRecord& result, int32_t stamp, uint32_t counter, bool firstOfRun) {
    PublishedCoinResult published;
    published.result = Terminated(result);
    published.stamp = stamp;
    published.counter = counter;
    published.firstOfRun = firstOfRun;
    published.time = platform::LocalTimeText();
    std::lock_guard<std::mutex> guard(g_lock);
    published.sequence = ++g_lastSequence;
    Slot(published.sequence) = std::move(published);
}

CoinResultRecord GetCoinResult() {
    std::lock_guard<std::mutex> guard(g_lock);
    return g_lastSequence == 0 ? CoinResultRecord() : Slot(g_lastSequence).result;
}

uint64_t LastCoinResultSequence() {
    std::lock_guard<std::mutex> guard(g_lock);
    return g_lastSequence;
}

CoinResultsSince CoinResultsAfter(uint64_t seen) {
    CoinResultsSince since;
    std::lock_guard<std::mutex> guard(g_lock);
    since.lastSequence = g_lastSequence;
    if (seen >= g_lastSequence) return since;
    const uint64_t oldestKept = g_lastSequence > kCoinResultHistory ? g_lastSequence - kCoinResultHistory + 1 : 1;
    const uint64_t first = seen + 1 > oldestKept ? seen + 1 : oldestKept;
    since.missed = first - (seen + 1);
    for (uint64_t n = first; n <= g_lastSequence; ++n) since.results.push_back(Slot(n));
    return since;
}
