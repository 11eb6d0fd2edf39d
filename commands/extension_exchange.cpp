#include "commands/extension_exchange.h"

#include "coindata/records/device_info.h"
#include "commands/protocol/frame_sealing.h"
#include "link/log_queue.h"
#include "link/run_environment.h"

#include <cstring>

namespace {

using acceptor::ChecksumWording;
using acceptor::CommandDescriptor;

void ReportChecksum(ChecksumWording wording, int headerByte) {
    switch (wording) {
    case ChecksumWording::WithHeader: LogQueuePushFormat("***** ошибка приема CRC16 ответа %d", headerByte); break;
    case ChecksumWording::LogPage: LogQueuePush("***** ошибка приема контрольной суммы"); break;
    case ChecksumWording::Setting: LogQueuePush("*****  CRC16 Error  *****"); break;
    }
}

void ReportFailure(const ExchangeOutcome& outcome, ChecksumWording wording) {
    switch (outcome.status) {
    case ExchangeStatus::Ok: break;
    case ExchangeStatus::WriteFailed: ReportWriteFailure(outcome); break;
    case ExchangeStatus::WrongHead:
        LogQueuePushFormat("C_T: ***** ошибка приема размера пакета 255: - %d байт", outcome.value);
        break;
    case ExchangeStatus::ShortRemainder:
        LogQueuePushFormat("***** ошибка приема квитанции - %d байт", outcome.value);
        break;
    case ExchangeStatus::BadChecksum: ReportChecksum(wording, outcome.value); break;
    }
}

// The cipher's key value on the link: the serial number of the last
// accepted identification (0 before any).
uint32_t LinkKey() { return GetDeviceInfo().dwSerial; }

// Builds the whole request in TxBuffer; returns its length, or 0 when it
// would not fit the buffer (nothing is then sent).
size_t BuildRequest(const acceptor::RequestPayload& request) {
    const CommandDescriptor& command = request.Command();
    const size_t frameLength = acceptor::RequestFrameLength(command);
    if (frameLength > kFrameBufferSize) return 0;
    std::memset(TxBuffer, 0, sizeof TxBuffer);
    BeginRequest(kExtensionHeader, static_cast<uint8_t>(acceptor::RequestDataLength(command) & 0xFF));
    acceptor::PlaceRequestBody(TxBuffer, request);
    acceptor::SealRequestFrame(TxBuffer, command, LinkKey());
    SealRequest(frameLength);
    return frameLength;
}

} // namespace

ExtensionReply CallExtension(const RunState& run, const acceptor::RequestPayload& request) {
    const CommandDescriptor& command = request.Command();
    ExtensionReply reply;
    const size_t length = BuildRequest(request);
    // A request that does not fit is refused by the exchange before anything is sent.
    reply.outcome = Exchange(*run.port, length, acceptor::ReplyHeadValue(command), command.replyForm);
    ReportFailure(reply.outcome, command.checksumWording);
    if (reply.outcome.status != ExchangeStatus::Ok) return reply;
    uint8_t* data = RxBuffer + kDataAt;
    reply.crcHolds = acceptor::OpenReplyData(data, command, LinkKey());
    if (!reply.crcHolds) {
        if (command.opening.crcFailure != nullptr) LogQueuePush(command.opening.crcFailure);
        return reply;
    }
    reply.data = data;
    reply.size = command.replyData;
    return reply;
}

void PutRequestTime(acceptor::RequestPayload& request, const acceptor::PayloadField& field) {
    request.Put(field, CurrentRunEnvironment().calendarTime());
}
