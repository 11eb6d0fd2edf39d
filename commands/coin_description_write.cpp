#include "commands/coin_description_write.h"

#include "coindata/records/coin_description.h"
#include "link/acceptor_protocol.h"
#include "commands/extension_exchange.h"
#include "link/command_mailbox.h"
#include "link/log_queue.h"

#include <array>
#include <cstring>

namespace {

namespace f = acceptor::write_fragment;

constexpr int kMaxErrors = 10;

// The fragment's payload, behind the high length byte of the long request.
using FragmentPayload = std::array<uint8_t, f::kCrcAt - kLongPayloadAt>;

FragmentPayload FragmentRequestPayload(int fragment, int32_t coinIndex) {
    FragmentPayload payload{};
    payload[f::kFragmentAt - kLongPayloadAt] = static_cast<uint8_t>(fragment);
    payload[f::kCoinIndexAt - kLongPayloadAt] = static_cast<uint8_t>(coinIndex & 0xFF);
    std::memcpy(payload.data() + (f::kImageAt - kLongPayloadAt),
                abCoinImage.data() + f::kFragmentBytes * static_cast<size_t>(fragment), f::kFragmentBytes);
    return payload;
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
    const FragmentPayload payload = FragmentRequestPayload(run.iFragment, coinIndex);
    ExchangeOutcome outcome;
    const uint8_t* data = CallExtension(run, {acceptor::kWriteFragment, payload.data(), payload.size(), f::kCipherAt},
                                        acceptor::status_reply::kData, ChecksumText::WithHeader, outcome);
    if (data != nullptr) {
        TakeStatus(run, data[acceptor::status_reply::kStatusAt - kDataAt], coinIndex);
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
