#include "commands/log_read.h"

#include "coindata/files/file_result.h"
#include "coindata/files/log_dump_file.h"
#include "commands/extension_exchange.h"
#include "commands/protocol/extension_commands.h"
#include "link/checksums.h"
#include "link/command_mailbox.h"
#include "link/front_end.h"
#include "link/log_queue.h"
#include "link/run_environment.h"
#include "platform/clock.h"

#include <cstring>

namespace {

namespace p = acceptor::log_page;

constexpr int kMaxErrors = 100;
constexpr uint32_t kReleasePauseMs = 500;
// Pages 0-65535: what a 16-bit page number in the request can ask for.
constexpr int kMaxPages = 0x10000;

// False (with its message) when the opened reply is not the page wanted.
bool IsPageWanted(const RunState& run, const ExtensionReply& reply) {
    const int page = reply.Le16(p::kPageInData);
    if (page != run.iFragment) {
        LogQueuePushFormat("***** Ошибочный номер фрагмента = %d, нужен - %d. ", page, run.iFragment);
        return false;
    }
    return true;
}

// A fresh block for the announced pages and the dump's trailer. The total
// comes from the device, so it is bounded and a failed allocation ends the
// run instead of the program.
bool AllocatePages(RunState& run) {
    if (run.pstrBufferProg) {
        LogQueuePush("Delete  pstrBufferProg  Com_Thread Log-File");
        platform::SleepMilliseconds(kReleasePauseMs);
        run.pstrBufferProg.reset();
        run.dwBufferProgSize = 0;
    }
    const size_t size = (static_cast<size_t>(run.iPages) + 1) * p::kPageBytes;
    run.pstrBufferProg.reset(CurrentRunEnvironment().allocateBlock(size));
    if (!run.pstrBufferProg) {
        LogQueuePushFormat("C_T: ***** Нет памяти для журнала: %d страниц", run.iPages);
        return false;
    }
    std::memset(run.pstrBufferProg.get(), 0, size);
    run.dwBufferProgSize = size;
    return true;
}

// Stores the page just read; false when the run must end.
bool StorePage(RunState& run, const ExtensionReply& reply) {
    const uint8_t* page = reply.data + p::kPageBytesInData;
    if (run.iFragment == 0) {
        run.iPages = PageTotalFromPageZero(page);
        if (!AllocatePages(run)) return false;
    }
    const size_t at = static_cast<size_t>(run.iFragment) * p::kPageBytes;
    if (!run.pstrBufferProg || at + p::kPageBytes > run.dwBufferProgSize) return false;
    std::memcpy(run.pstrBufferProg.get() + at, page, p::kPageBytes);
    LogQueuePushFormat("Page %d of %d Log File is Read", run.iFragment, run.iPages);
    ++run.iFragment;
    if (run.iFragment >= run.iPages) {
        StopRun();
        const uint32_t bytes = static_cast<uint32_t>(run.iPages) * p::kPageBytes;
        if (WriteLogDump(run.pstrBufferProg.get(), bytes, CurrentRunEnvironment().calendarTime()) == kFileOk)
            CurrentFrontEnd().LogDumpWritten();
    }
    return true;
}

} // namespace

int PageTotalFromPageZero(const uint8_t* page) {
    const int total = LoadLe16(page + p::kPageCountAt) + p::kPageCountBias;
    return total > kMaxPages ? kMaxPages : total;
}

void HandleReadLog(RunState& run) {
    acceptor::RequestPayload request(acceptor::kReadLogCommand);
    request.Put(p::kPage, static_cast<uint16_t>(run.iFragment));
    const ExtensionReply reply = CallExtension(run, request);
    if (reply.Usable()) {
        if (!IsPageWanted(run, reply)) {
            ++run.iErrors;
        } else if (!StorePage(run, reply)) {
            StopRun();
        }
    } else if (EndsRun(reply)) {
        StopRun();
    } else {
        ++run.iErrors;
    }
    if (run.iErrors > kMaxErrors) {
        LogQueuePushFormat("C_T: ***** Кол-во ошибок > 100  Индекс = %d   Фрагм. = %d",
                           static_cast<int>(Mailbox.iTargetCoinIndex.load(std::memory_order_acquire)),
                           run.iFragment);
        StopRun();
    }
}
