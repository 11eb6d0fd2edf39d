#include "commands/coin_description_write.h"

#include "coindata/records/coin_description.h"
#include "commands/extension_exchange.h"
#include "commands/protocol/extension_commands.h"
#include "link/command_mailbox.h"
#include "link/log_queue.h"

namespace {

namespace f = acceptor::write_fragment;

constexpr int kMaxErrors = 10;

acceptor::RequestPayload FragmentRequest(int fragment, int32_t coinIndex) {
    acceptor::RequestPayload request(acceptor::kWriteCoinCommand);
    request.Put(f::kFragment, static_cast<uint8_t>(fragment));
    request.Put(f::kCoinIndex, static_cast<uint8_t>(coinIndex & 0xFF));
    request.PutBytes(f::kImage, abCoinImage.data() + f::kFragmentBytes * static_cast<size_t>(fragment));
    return request;
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
    const ExtensionReply reply = CallExtension(run, FragmentRequest(run.iFragment, coinIndex));
    if (reply.Usable()) {
        TakeStatus(run, reply.Byte(acceptor::status_reply::kStatusInData), coinIndex);
    } else if (EndsRun(reply)) {
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
