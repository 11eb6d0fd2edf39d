#include "commands/extension_exchange.h"

#include "coindata/device_info.h"
#include "commands/acceptor_protocol.h"
#include "commands/block_cipher.h"
#include "link/checksums.h"
#include "link/command_mailbox.h"
#include "link/log_queue.h"
#include "link/run_environment.h"

#include <cstring>

namespace {

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

} // namespace

size_t BeginExtensionRequest(uint8_t function, uint8_t dataLength) {
    std::memset(TxBuffer, 0, sizeof TxBuffer);
    const size_t length = BeginRequest(acceptor::kExtensionHeader, dataLength);
    TxBuffer[acceptor::kFunctionAt] = function;
    return length;
}

void StoreRequestTime(size_t at) { StoreLe32(TxBuffer + at, CurrentRunEnvironment().calendarTime()); }

uint32_t LinkKey() { return GetDeviceInfo().dwSerial; }

void SealEncipheredRequest(size_t frameLength, size_t crcAt, size_t cipherAt, size_t cipherLength) {
    StoreLe16(TxBuffer + crcAt, Crc16(TxBuffer, crcAt));
    EncipherBuffer(TxBuffer + cipherAt, static_cast<uint32_t>(cipherLength), LinkKey());
    SealRequest(frameLength);
}

void DecipherReply(size_t at, size_t length) { DecipherBuffer(RxBuffer + at, static_cast<uint32_t>(length), LinkKey()); }

bool ReplyCrcHolds(size_t from, size_t crcAt) { return Crc16(RxBuffer + from, crcAt - from) == LoadLe16(RxBuffer + crcAt); }

bool ExchangeReported(RunState& run, size_t requestLength, int expectedHead, ChecksumText checksumText,
                      ExchangeOutcome& outcome) {
    outcome = Exchange(*run.port, requestLength, expectedHead);
    ReportFailure(outcome, checksumText);
    return outcome.status == ExchangeStatus::Ok;
}
