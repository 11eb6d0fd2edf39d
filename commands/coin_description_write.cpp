#include "commands/coin_description_write.h"

#include "coindata/coin_description.h"
#include "commands/acceptor_protocol.h"
#include "commands/extension_exchange.h"
#include "link/command_mailbox.h"
#include "link/log_queue.h"

#include <cstring>

namespace {

namespace f = acceptor::write_fragment;

constexpr int kMaxErrors = 10;

void BuildFragmentRequest(int fragment, int32_t coinIndex) {
    BeginExtensionRequest(acceptor::kWriteFragment, f::kDataLengthLow);
    TxBuffer[f::kDataLengthHighAt] = f::kDataLengthHigh;
    TxBuffer[f::kFragmentAt] = static_cast<uint8_t>(fragment);
    TxBuffer[f::kCoinIndexAt] = static_cast<uint8_t>(coinIndex & 0xFF);
    std::memcpy(TxBuffer + f::kImageAt, abCoinImage.data() + f::kFragmentBytes * static_cast<size_t>(fragment),
                f::kFragmentBytes);
    SealEncipheredRequest(f::kFrameLength, f::kCrcAt, f::kCipherAt, f::kCipherLength);
}

// What the status byte means for the run.
void TakeStatus(RunState& run, int status, int32_t coinIndex) {
    if (status >= f::kFirstErrorStatus) {
        LogQueuePushFormat("***** Ошибка [%d] записи параметров монеты с индексом = %d. ", status,
                           static_cast<int>(coinIndex));
        ++run.iErrors;
    } else if (status == f::kAllTaken) {
        LogQueuePushFormat("  Параметры монеты с индексом = %d записаны успешно", static_cast<int>(coinIndex));
        LogQueuePush(" ++++++ Параметры всех отмеченных монет записаны успешно");
        Mailbox.bSubCommand.store(acceptor::kSubReadTable, std::memory_order_release);
    } else if (status > run.iFragment && run.iFragment + 1 < f::kFragments) {
        ++run.iFragment;
        run.iErrors = 0;
    } else {
        // Not taken, or a "next" fragment past the last one (17-19 after
        // fragment 15): the same fragment again.
        ++run.iErrors;
    }
}

} // namespace

void HandleWriteCoinDescription(RunState& run) {
    const int32_t coinIndex = Mailbox.iTargetCoinIndex.load(std::memory_order_acquire);
    BuildFragmentRequest(run.iFragment, coinIndex);
    ExchangeOutcome outcome;
    if (ExchangeReported(run, f::kFrameLength, acceptor::ShortHeadFor(acceptor::status_reply::kData),
                         ChecksumText::WithHeader, outcome)) {
        TakeStatus(run, ReplyData()[0], coinIndex);
    } else if (EndsRun(outcome)) {
        StopRun();
    } else {
        ++run.iErrors;
    }
    if (run.iErrors > kMaxErrors) {
        LogQueuePushFormat("C_T: ***** Кол-во ошибок > 10  Индекс = %d   Фрагм. = %d", static_cast<int>(coinIndex),
                           run.iFragment);
        StopRun();
    }
}
