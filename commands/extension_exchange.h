// The one call every handler of the extension header makes: it frames the
// request from a function code and a payload, seals it where asked (CRC-16,
// then the cipher keyed by the acceptor's serial number, then the simple
// checksum), sends it, reads and checks the reply in the form the handler
// table gives and hands back the reply's data, or words the failure with the
// command's own message set.
#pragma once

#include "link/acceptor_protocol.h"
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

// A request of header 255. The payload follows the function code (request
// byte 5; byte 6 behind the high length byte when the data length exceeds
// 255). An enciphered request carries the CRC-16 of all its bytes before it
// behind the payload, and is enciphered from request byte `cipherAt`
// through that CRC.
struct ExtensionRequest {
    uint8_t function = 0;
    const uint8_t* payload = nullptr;
    size_t payloadLength = 0;
    size_t cipherAt = 0; // 0: in the clear, no CRC-16
};

// Sends the request and reads a reply of `replyData` data bytes. Returns
// the reply's data (reply byte 4 on, in RxBuffer until the next exchange),
// or null after queueing the command's message, with the outcome in
// `outcome`.
uint8_t* CallExtension(RunState& run, const ExtensionRequest& request, size_t replyData, ChecksumText messages,
                       ExchangeOutcome& outcome);

// A failed write ends the runs of sub-commands 0, 1 and 2.
inline bool EndsRun(const ExchangeOutcome& outcome) { return outcome.status == ExchangeStatus::WriteFailed; }

// Stores the calendar time of the run (low 32 bits, little-endian) at `at`.
void StoreRequestTime(uint8_t* at);

// Deciphers reply data [from, from + length) in place with the link's key.
void DecipherReplyData(uint8_t* data, size_t from, size_t length);
// Crc16 of data [from, crcAt) equals the two bytes at crcAt.
bool ReplyCrcHolds(const uint8_t* data, size_t from, size_t crcAt);
