#include "link/frame_codec.h"

#include "link/checksums.h"
#include "link/command_mailbox.h"
#include "link/log_queue.h"
#include "platform/clock.h"
#include "platform/quiet_line.h"

uint8_t TxBuffer[kFrameBufferSize];
uint8_t RxBuffer[kFrameBufferSize];

namespace {

// A write call that fails, rather than running out of time, finds the line
// gone (an adapter unplugged): the commands that repeat at once after a
// failure would otherwise hold a core until STOP.
constexpr uint32_t kFailedWritePauseMs = 100;
constexpr uint32_t kPurgeAll =
    platform::kPurgeTxAbort | platform::kPurgeRxAbort | platform::kPurgeTxClear | platform::kPurgeRxClear;
// After a failed exchange the line counts as quiet once this long passes
// without a byte: the link's own limit between the bytes of a reply.
constexpr uint32_t kQuietGapMs = 100;
// A line that never falls quiet is given up on after the longest frame at
// the slowest speed (271 bytes at 2400 bit/s take 1130 ms).
constexpr uint32_t kQuietBoundMs = 1500;

// Bytes of a reply frame before its remainder: the head itself.
size_t HeadBytes(ReplyForm form) { return form == ReplyForm::Long ? kLongHeadBytes : kShortHeadBytes; }

ExchangeOutcome Failure(ExchangeStatus status, int value, uint32_t systemError = 0) {
    ExchangeOutcome outcome;
    outcome.status = status;
    outcome.value = value;
    outcome.systemError = systemError;
    return outcome;
}

// A failure after the request went out: the line is left quiet for the next.
ExchangeOutcome FailureAfterRequest(platform::SerialPort& port, ExchangeStatus status, int value) {
    // Read as the next request's reply, what is still coming would fail it
    // too, and the one after, while a command that repeats at once keeps the
    // device answering.
    platform::AwaitQuietLine(port, {kQuietGapMs, kQuietBoundMs, kFrameBufferSize});
    return Failure(status, value);
}

} // namespace

size_t BeginRequest(uint8_t header, uint8_t dataLength) {
    TxBuffer[0] = static_cast<uint8_t>(Mailbox.bDeviceAddress.load(std::memory_order_acquire) & 0xFFu);
    TxBuffer[kLengthAt] = dataLength;
    TxBuffer[2] = kHostAddress;
    TxBuffer[kHeaderAt] = header;
    return static_cast<size_t>(dataLength) + kFrameOverhead;
}

void SealRequest(size_t frameLength) {
    if (frameLength < kFrameOverhead || frameLength > kFrameBufferSize) return; // no such frame
    TxBuffer[frameLength - 1] = SimpleChecksum(TxBuffer, frameLength - 1);
}

bool SendRequest(platform::SerialPort& port, const uint8_t* frame, size_t n, uint32_t& error) {
    error = 0;
    (void)port.Purge(kPurgeAll); // whatever a failed exchange left behind goes
    size_t written = 0;
    if (!port.Write(frame, n, written)) {
        error = port.LastError();
        platform::SleepMilliseconds(kFailedWritePauseMs);
        return false;
    }
    // A write that took fewer bytes failed without a system error of its own.
    return written == n;
}

int ReadReplyHead(platform::SerialPort& port, ReplyForm form) {
    const size_t headBytes = HeadBytes(form);
    size_t got = 0;
    if (!port.Read(RxBuffer, headBytes, got) || got != headBytes) return -1;
    if (form == ReplyForm::Long) return RxBuffer[kLongReplyLengthHighAt] * 256 + RxBuffer[kLengthAt];
    return HeadValueFor(RxBuffer[kLengthAt], ReplyForm::Short);
}

ExchangeOutcome Exchange(platform::SerialPort& port, size_t requestLength, int expectedHead, ReplyForm form) {
    const int requestBytes = static_cast<int>(requestLength);
    if (requestLength == 0 || requestLength > kFrameBufferSize) {
        return Failure(ExchangeStatus::WriteFailed, requestBytes); // no such request: nothing is sent
    }
    uint32_t error = 0;
    if (!SendRequest(port, TxBuffer, requestLength, error)) {
        return Failure(ExchangeStatus::WriteFailed, requestBytes, error);
    }
    const int head = ReadReplyHead(port, form);
    if (head != expectedHead) return FailureAfterRequest(port, ExchangeStatus::WrongHead, head);
    // A head that announces more than the buffer holds is wrong, whatever
    // the command expected: nothing is read past RxBuffer.
    const size_t offset = HeadBytes(form);
    const size_t remainder = static_cast<size_t>(head);
    if (head <= 0 || remainder > kFrameBufferSize - offset) {
        return FailureAfterRequest(port, ExchangeStatus::WrongHead, head);
    }
    size_t got = 0;
    (void)port.Read(RxBuffer + offset, remainder, got);
    if (got != remainder) return FailureAfterRequest(port, ExchangeStatus::ShortRemainder, static_cast<int>(got));
    const size_t last = offset + remainder - 1;
    if (SimpleChecksum(RxBuffer, last) != RxBuffer[last]) {
        return FailureAfterRequest(port, ExchangeStatus::BadChecksum, RxBuffer[kHeaderAt]);
    }
    return ExchangeOutcome{};
}

void ReportWriteFailure(const ExchangeOutcome& outcome) {
    LogQueuePushFormat("C_T: ***** ошибка %X  функции WriteFile(hCom, ... 0х01: - %d байт",
                       static_cast<unsigned>(outcome.systemError), outcome.value);
}
