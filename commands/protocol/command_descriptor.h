// One command of the extension header, written down once: what the host
// sends (function code, payload fields, sealing), what the acceptor answers
// (data length, form, how the reply is opened) and how the trace words both.
// The handlers, the trace and the virtual acceptor read the same descriptor.
#pragma once

#include "link/frame_layout.h"

#include <cstddef>
#include <cstdint>

namespace acceptor {

// How the trace shows a request field: not at all, as a number, or as a
// calendar time.
enum class FieldText { Hidden, Number, Time };

// A field of the request's payload. Payload byte 0 is the byte behind the
// function code (behind the high length byte in a long request); numbers
// are stored low byte first.
struct PayloadField {
    const char* name;
    size_t at;
    size_t size;
    FieldText text;
};

// The fields of one request, in the order the trace words them.
class PayloadFields {
public:
    constexpr PayloadFields() = default;
    // A list is written as the array it is.
    template <size_t N>
    constexpr PayloadFields(const PayloadField (&fields)[N]) : first_(fields), count_(N) {}
    constexpr size_t Count() const { return count_; }
    constexpr const PayloadField& At(size_t i) const { return first_[i]; }

private:
    const PayloadField* first_ = nullptr;
    size_t count_ = 0;
};

// How the host words a reply whose simple checksum is wrong.
enum class ChecksumWording {
    WithHeader, // "***** ошибка приема CRC16 ответа %d" with the reply header byte
    LogPage,    // "***** ошибка приема контрольной суммы"
    Setting,    // "*****  CRC16 Error  *****"
};

// How the trace words the reply.
enum class ReplyWording { Identity, Status, FragmentStatus, CoinTable, CoinResult, LogPage };

// How a reply whose checksum held is opened, in places of its data: the
// cipher keyed by the serial number over [decipherFrom, decipherFrom +
// decipherLength), then the CRC-16 of [crcFrom, crcAt) against the two bytes
// at crcAt. A reply whose CRC-16 is wrong is not used; the host tells the
// operator `crcFailure`, or nothing when it is null.
struct ReplyOpening {
    size_t decipherFrom = 0;
    size_t decipherLength = 0; // 0: in the clear
    bool crc = false;
    size_t crcFrom = 0;
    size_t crcAt = 0;
    const char* crcFailure = nullptr;
};

struct CommandDescriptor {
    uint8_t subCommand; // the mailbox number, not a byte on the wire
    uint8_t function;   // request byte 4
    const char* name;   // as the trace names it
    PayloadFields fields;
    size_t payloadLength;
    // A sealed request carries the CRC-16 of all its bytes before it behind
    // the payload, and is enciphered from payload place `cipherAt` through
    // that CRC.
    bool sealed;
    size_t cipherAt;
    size_t replyData;
    ReplyForm replyForm;
    ReplyOpening opening;
    ChecksumWording checksumWording;
    ReplyWording replyWording;
};

constexpr size_t kCrcBytes = 2;
constexpr size_t kMaxShortData = 255;

// The request frame a descriptor gives: its data length (function code,
// payload, CRC-16, and the high length byte when that passes 255), its
// length, where the payload starts, and the frame places of its CRC-16 and
// cipher.
constexpr size_t RequestShortData(const CommandDescriptor& c) {
    return 1 + c.payloadLength + (c.sealed ? kCrcBytes : 0);
}
constexpr bool LongRequest(const CommandDescriptor& c) { return RequestShortData(c) > kMaxShortData; }
constexpr size_t RequestDataLength(const CommandDescriptor& c) {
    return RequestShortData(c) + (LongRequest(c) ? 1 : 0);
}
constexpr size_t RequestFrameLength(const CommandDescriptor& c) { return RequestDataLength(c) + kFrameOverhead; }
constexpr size_t PayloadAt(const CommandDescriptor& c) { return LongRequest(c) ? kLongPayloadAt : kPayloadAt; }
constexpr size_t RequestCrcAt(const CommandDescriptor& c) { return PayloadAt(c) + c.payloadLength; }
constexpr size_t RequestCipherAt(const CommandDescriptor& c) { return PayloadAt(c) + c.cipherAt; }
constexpr size_t RequestCipherLength(const CommandDescriptor& c) {
    return RequestCrcAt(c) + kCrcBytes - RequestCipherAt(c);
}

// The reply a descriptor gives: its head value as the codec reads it and
// its frame length.
constexpr int ReplyHeadValue(const CommandDescriptor& c) { return HeadValueFor(c.replyData, c.replyForm); }
constexpr size_t ReplyFrameLength(const CommandDescriptor& c) { return c.replyData + kFrameOverhead; }

} // namespace acceptor
