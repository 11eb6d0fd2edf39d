// What every handler of the extension header shares: building a request in
// TxBuffer, sealing it (CRC-16, then cipher keyed by the acceptor's serial
// number, then the simple checksum), the exchange with its failure messages,
// and opening a reply in the reverse order.
#pragma once

#include "commands/acceptor_protocol.h"
#include "link/com_thread.h"
#include "link/frame_codec.h"

#include <cstddef>
#include <cstdint>

// How a command words a reply whose simple checksum is wrong.
enum class ChecksumText {
    WithHeader, // "***** ошибка приема CRC16 ответа %d" with the reply header byte
    LogPage,    // "***** ошибка приема контрольной суммы"
    Setting,    // "*****  CRC16 Error  *****"
};

// Clears TxBuffer, fills the head of a request of header 255 with
// `function` at byte 4, and returns the frame length N + 5.
size_t BeginExtensionRequest(uint8_t function, uint8_t dataLength);

// Stores the calendar time (low 32 bits, little-endian) at TxBuffer[at].
void StoreRequestTime(size_t at);

// The cipher's key value on the link: the serial number of the last
// accepted identification (0 before any).
uint32_t LinkKey();

// Crc16 of TxBuffer[0, crcAt) at crcAt, cipher over the range, checksum.
void SealEncipheredRequest(size_t frameLength, size_t crcAt, size_t cipherAt, size_t cipherLength);

// Deciphers RxBuffer[at, at + length) in place.
void DecipherReply(size_t at, size_t length);
// Crc16 of RxBuffer[from, crcAt) equals the two bytes at crcAt.
bool ReplyCrcHolds(size_t from, size_t crcAt);

// Sends the request, reads and checks the reply; on failure queues the
// command's message and returns false with the outcome in `outcome`.
bool ExchangeReported(RunState& run, size_t requestLength, int expectedHead, ChecksumText checksumText,
                      ExchangeOutcome& outcome);

// A failed write ends the runs of sub-commands 0, 1 and 2.
inline bool EndsRun(const ExchangeOutcome& outcome) { return outcome.status == ExchangeStatus::WriteFailed; }

// The reply's data bytes (after address, length, source and header).
inline const uint8_t* ReplyData() { return RxBuffer + acceptor::kDataAt; }
