#include "commands/monitoring.h"

#include "coindata/records/device_coin_table.h"
#include "commands/coin_result.h"
#include "commands/extension_exchange.h"
#include "commands/protocol/extension_commands.h"
#include "link/checksums.h"
#include "link/command_mailbox.h"
#include "link/front_end.h"
#include "link/log_queue.h"
#include "platform/clock.h"

#include <cstring>

namespace {

namespace r = acceptor::read_result;

constexpr uint32_t kPollPauseMs = 100;
constexpr int32_t kNoRecord = -1;

// A row outside the table is told once per run.
void WarnRowOnce(RunState& run, int row) {
    if (run.rowWarned) return;
    run.rowWarned = true;
    LogQueuePushFormat("C_T: ***** Строка монеты %d вне таблицы (0-15), монета не учтена", row);
}

void CountAccepted(int row) {
    if (stDeviceCoins.IncrementAcceptCount(row)) CurrentFrontEnd().RefreshDeviceCoinList();
}

void TakeResult(RunState& run, const uint8_t* data) {
    const int32_t stamp = static_cast<int32_t>(LoadLe32(data + r::kStampAt));
    const uint32_t counter = data[r::kCounterAt];
    const int32_t last = Mailbox.dwLastRecordNumber.load(std::memory_order_acquire);
    if (stamp == last && counter == Mailbox.bLastEventCounter.load(std::memory_order_acquire)) return;
    const CoinResultRecord result = DecodeCoinResult(data);
    const bool rowKnown = result.iResultCoinIndex < kDeviceCoinRows;
    if (!rowKnown) WarnRowOnce(run, result.iResultCoinIndex);
    // The first result after a start is shown, not counted.
    if (stamp != last && result.bAccepted != 0 && last != kNoRecord && rowKnown) CountAccepted(result.iResultCoinIndex);
    PublishCoinResult(result, stamp, counter, last == kNoRecord);
    Mailbox.dwLastRecordNumber.store(stamp, std::memory_order_release);
    Mailbox.bLastEventCounter.store(counter, std::memory_order_release);
    Mailbox.bNewData.store(1, std::memory_order_release);
}

} // namespace

CoinResultRecord DecodeCoinResult(const uint8_t* data) {
    CoinResultRecord result;
    for (int i = 0; i < 2; ++i) {
        result.aiStatErrors[i] = data[r::kStatErrorsAt + i];
        result.aiNeuralErrors[i] = data[r::kNeuralErrorsAt + i];
    }
    std::memcpy(result.szBestCoin, data + r::kBestCoinAt, r::kCoinIdChars);
    std::memcpy(result.szNextCoin, data + r::kNextCoinAt, r::kCoinIdChars);
    for (size_t i = 0; i < r::kPairs; ++i) {
        result.abResultA[i] = data[r::kPairsAt + 2 * i];
        result.abResultB[i] = data[r::kPairsAt + 2 * i + 1];
    }
    result.iResultCoinIndex = data[r::kRowAt];
    result.bAccepted = data[r::kAcceptedAt];
    return result;
}

void HandleMonitoring(RunState& run) {
    // A reply with a wrong CRC-16 is not usable; its descriptor drops it
    // without a word.
    const ExtensionReply reply = CallExtension(run, acceptor::RequestPayload(acceptor::kMonitorCommand));
    if (reply.Usable()) TakeResult(run, reply.data);
    platform::SleepMilliseconds(kPollPauseMs);
}
