#include "commands/extension_exchange.h"

#include "cipher/block_cipher.h"
#include "coindata/records/device_info.h"
#include "link/checksums.h"
#include "link/log_queue.h"
#include "link/run_environment.h"

#include <cstring>

namespace {

constexpr size_t kCrcBytes = 2;
constexpr size_t kMaxShortData = 255;

void ReportChecksum(ChecksumText text, int headerByte) {
    switch (text) {
    case ChecksumText::WithHeader: LogQueuePushFormat("***** ошибка приема CRC16 ответа %d", headerByte); break;
    case ChecksumText::LogPage: LogQueuePush("***** ошибка приема контрольной суммы"); break;
    case ChecksumText::Setting: LogQueuePush("*****  CRC16 Error  *****"); break;
    }
}

void ReportFailure(const ExchangeOutcome& outcome, ChecksumText checksumText) {
    switch (outcome.status) {
    case ExchangeStatus::Ok: break;
    case ExchangeStatus::WriteFailed: ReportWriteFailure(outcome); break;
    case ExchangeStatus::WrongHead:
        LogQueuePushFormat("C_T: ***** ошибка приема размера пакета 255: - %d байт", outcome.value);
        break;
    case ExchangeStatus::ShortRemainder:
        LogQueuePushFormat("***** ошибка приема квитанции - %d байт", outcome.value);
        break;
    case ExchangeStatus::BadChecksum: ReportChecksum(checksumText, outcome.value); break;
    }
}

// The cipher's key value on the link: the serial number of the last
// accepted identification (0 before any).
uint32_t LinkKey() { return GetDeviceInfo().dwSerial; }

// Builds the whole request in TxBuffer; returns its length, or 0 when it
// would not fit the buffer (nothing is then sent).
size_t BuildRequest(const ExtensionRequest& request) {
    const bool sealed = request.cipherAt != 0;
    const size_t shortData = 1 + request.payloadLength + (sealed ? kCrcBytes : 0);
    const bool longRequest = shortData > kMaxShortData;
    const size_t dataLength = shortData + (longRequest ? 1 : 0);
    const size_t frameLength = dataLength + kFrameOverhead;
    if (frameLength > kFrameBufferSize) return 0;
    std::memset(TxBuffer, 0, sizeof TxBuffer);
    BeginRequest(kExtensionHeader, static_cast<uint8_t>(dataLength & 0xFF));
    TxBuffer[kFunctionAt] = request.function;
    size_t at = kPayloadAt;
    if (longRequest) {
        TxBuffer[kLongRequestLengthHighAt] = static_cast<uint8_t>(dataLength >> 8);
        at = kLongPayloadAt;
    }
    if (request.payloadLength > 0) std::memcpy(TxBuffer + at, request.payload, request.payloadLength);
    if (sealed) {
        const size_t crcAt = at + request.payloadLength;
        StoreLe16(TxBuffer + crcAt, Crc16(TxBuffer, crcAt));
        const size_t end = crcAt + kCrcBytes;
        if (request.cipherAt < end) {
            EncipherBuffer(TxBuffer + request.cipherAt, static_cast<uint32_t>(end - request.cipherAt), LinkKey());
        }
    }
    SealRequest(frameLength);
    return frameLength;
}

} // namespace

uint8_t* CallExtension(RunState& run, const ExtensionRequest& request, size_t replyData, ChecksumText messages,
                       ExchangeOutcome& outcome) {
    const size_t length = BuildRequest(request);
    // A request that does not fit is refused by the exchange before anything is sent.
    outcome = Exchange(*run.port, length, HeadValueFor(replyData, run.replyForm), run.replyForm);
    ReportFailure(outcome, messages);
    return outcome.status == ExchangeStatus::Ok ? RxBuffer + kDataAt : nullptr;
}

void StoreRequestTime(uint8_t* at) { StoreLe32(at, CurrentRunEnvironment().calendarTime()); }

void DecipherReplyData(uint8_t* data, size_t from, size_t length) {
    DecipherBuffer(data + from, static_cast<uint32_t>(length), LinkKey());
}

bool ReplyCrcHolds(const uint8_t* data, size_t from, size_t crcAt) {
    return Crc16(data + from, crcAt - from) == LoadLe16(data + crcAt);
}
