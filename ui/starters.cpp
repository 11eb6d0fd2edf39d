#include "ui/starters.h"

#include "commands/protocol/acceptor_layouts.h"
#include "link/com_thread.h"
#include "link/command_mailbox.h"
#include "link/log_queue.h"
#include "ui/parameter_edits.h"

namespace {

constexpr const char* kStartFailure = "DlgProc:  Ошибка создания потока обслуживания COM-порта";
constexpr const char* kExportStartFailure = " **** Error creating COM service thread";
constexpr const char* kDividerStartFailure = "*** Divider_Edit_DlgProc:  Error creating COM service thread";
// The inner quotation marks around the thread's name belong to the text.
constexpr const char* kDividerBusy = "*** Divider_Edit_DlgProc - Ошибка: уже запущен поток  \"COM_Thread\"";
constexpr const char* kMaxErrorsStartFailure = "DlgProc:  Error creating COM service thread";

StartRequest Request(uint8_t subCommand, int32_t nextCommand, bool resetRecordNumber, const char* failureMessage) {
    StartRequest request;
    request.command = kExtensionHeader;
    request.subCommand = subCommand;
    request.nextCommand = nextCommand;
    request.resetRecordNumber = resetRecordNumber;
    request.failureMessage = failureMessage;
    return request;
}

// A starter whose edit must not reach a running run refuses before the edit.
bool RefuseWhileARunExists(const StartRequest& request) {
    if (!RunExists()) return false;
    LogQueuePush(request.busyMessage != nullptr ? request.busyMessage : request.failureMessage);
    return true;
}

} // namespace

bool StartIdentification() {
    return StartComRun(Request(acceptor::kSubIdentify, acceptor::kSubReadTable, true, kStartFailure));
}

bool StartLogExport() {
    return StartComRun(Request(acceptor::kSubReadLog, acceptor::kSubReadLog, true, kExportStartFailure));
}

bool StartCoinWrite(int32_t coinIndex) {
    const StartRequest request = Request(acceptor::kSubWriteCoin, acceptor::kSubWriteCoin, true, kStartFailure);
    if (RefuseWhileARunExists(request)) return false;
    // Written before the run exists; the thread reads it once started.
    Mailbox.iTargetCoinIndex.store(coinIndex, std::memory_order_release);
    return StartComRun(request);
}

bool StartDividerEdit(int32_t row, const char* typedDivider, bool inherit) {
    StartRequest request = Request(acceptor::kSubWriteDivider, acceptor::kSubWriteDivider, false, kDividerStartFailure);
    request.busyMessage = kDividerBusy;
    // A running run would send a half-edited row.
    if (RefuseWhileARunExists(request)) return false;
    ApplyDividerEdit(row, typedDivider, inherit);
    Mailbox.iSelectedDeviceCoin.store(row, std::memory_order_release);
    return StartComRun(request);
}

bool StartMaxErrorsEdit(const char* typedMaxError, const char* typedNNetDivider, const char* typedNumbStandDev) {
    const StartRequest request = Request(acceptor::kSubWriteParams, acceptor::kSubWriteParams, true, kMaxErrorsStartFailure);
    if (RefuseWhileARunExists(request)) return false;
    ApplyMaxErrorsEdit(typedMaxError, typedNNetDivider, typedNumbStandDev);
    return StartComRun(request);
}
