// The one call every handler of the extension header makes: it frames the
// request from the payload the handler filled, seals it as the command's
// descriptor says (CRC-16, then the cipher keyed by the acceptor's serial
// number, then the simple checksum), sends it, reads and checks the reply in
// the descriptor's form and length, opens it (decipher, CRC-16) and hands
// back the reply's data, or words the failure with the command's own
// message set.
#pragma once

#include "commands/protocol/request_payload.h"
#include "link/com_thread.h"
#include "link/frame_codec.h"

#include <cstddef>
#include <cstdint>

// The reply's data, read by places of the data (data byte 0 = reply byte
// 4); valid until the next exchange.
struct ExtensionReply {
    ExchangeOutcome outcome;
    // False when the reply came whole but its CRC-16 did not hold.
    bool crcHolds = true;
    const uint8_t* data = nullptr; // null unless the reply is usable
    size_t size = 0;

    bool Usable() const { return data != nullptr; }
    uint8_t Byte(size_t at) const { return data[at]; }
    uint16_t Le16(size_t at) const { return static_cast<uint16_t>(data[at] | data[at + 1] << 8); }
};

// Sends the request and reads its command's reply. A failure is worded
// (a reply whose CRC-16 is wrong as the descriptor says, or not at all) and
// the reply is then not usable.
ExtensionReply CallExtension(const RunState& run, const acceptor::RequestPayload& request);

// A failed write ends the runs of sub-commands 0, 1 and 2.
inline bool EndsRun(const ExtensionReply& reply) { return reply.outcome.status == ExchangeStatus::WriteFailed; }

// Stores the calendar time of the run in a time field of the request.
void PutRequestTime(acceptor::RequestPayload& request, const acceptor::PayloadField& field);
