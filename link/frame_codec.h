// Framing of requests and replies on the acceptor link, and the exchange
// steps every command handler performs. The service thread alone touches
// the two frame buffers.
#pragma once

#include "link/frame_layout.h"
#include "platform/serial_port.h"

#include <cstddef>
#include <cstdint>

extern uint8_t TxBuffer[kFrameBufferSize];
extern uint8_t RxBuffer[kFrameBufferSize];

// Fills the head of a short request in TxBuffer (address, N, source 1,
// header) and returns the frame length N + 5. The caller fills the data;
// SealRequest then stores the simple checksum at 4 + N.
size_t BeginRequest(uint8_t header, uint8_t dataLength);
void SealRequest(size_t frameLength);

// Discards everything pending in both directions, then one write.
// On failure `error` holds the system code.
bool SendRequest(platform::SerialPort& port, const uint8_t* frame, size_t n, uint32_t& error);

// Reads the reply head into RxBuffer and returns how many reply bytes are
// still to come, or -1: 2 bytes in the short form, 5 (with the 16-bit
// length) in the long form.
int ReadReplyHead(platform::SerialPort& port, ReplyForm form);

enum class ExchangeStatus {
    Ok,
    WriteFailed,    // value = bytes the request held, systemError = OS code
    WrongHead,      // value = the head value (-1 when the head did not come)
    ShortRemainder, // value = bytes that came
    BadChecksum,    // value = the reply's header byte
};

struct ExchangeOutcome {
    ExchangeStatus status = ExchangeStatus::Ok;
    int value = 0;
    uint32_t systemError = 0;
};

// Steps 3 to 6 of every exchange: send TxBuffer[0..requestLength), read the
// head in `form`, compare it with `expectedHead`, read the remainder, check
// the simple checksum. Never reads beyond RxBuffer.
ExchangeOutcome Exchange(platform::SerialPort& port, size_t requestLength, int expectedHead, ReplyForm form);

// The write-failure message every command shares.
void ReportWriteFailure(const ExchangeOutcome& outcome);
