#include "ui/starters.h"

#include "commands/acceptor_protocol.h"
#include "link/command_mailbox.h"

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

} // namespace

StartRequest StartButtonRequest() {
    return Request(acceptor::kSubIdentify, acceptor::kSubReadTable, true, kStartFailure);
}

StartRequest ExportLogRequest() {
    return Request(acceptor::kSubReadLog, acceptor::kSubReadLog, true, kExportStartFailure);
}

StartRequest CoinWriteRequest() {
    return Request(acceptor::kSubWriteCoin, acceptor::kSubWriteCoin, true, kStartFailure);
}

StartRequest DividerEditRequest() {
    StartRequest request = Request(acceptor::kSubWriteDivider, acceptor::kSubWriteDivider, false, kDividerStartFailure);
    request.busyMessage = kDividerBusy;
    return request;
}

StartRequest MaxErrorsRequest() {
    return Request(acceptor::kSubWriteParams, acceptor::kSubWriteParams, true, kMaxErrorsStartFailure);
}
