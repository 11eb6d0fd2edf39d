// The frame of the acceptor link, written down once: a request or reply is
// destination, data length N, source, header, N data bytes and the simple
// checksum. A long frame carries a 16-bit data length: its low byte in the
// length byte, its high byte as the first byte after the head (reply byte 4,
// or request byte 5 behind the function code).
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kLengthAt = 1;
constexpr size_t kHeaderAt = 3;
constexpr size_t kDataAt = 4;        // data bytes follow address, length, source, header
constexpr size_t kFrameOverhead = 5; // address, length, source, header, checksum
constexpr size_t kFrameBufferSize = 271; // the longest frame: 266 data bytes + 5
constexpr uint8_t kHostAddress = 1;
constexpr uint8_t kExtensionHeader = 255; // the maker's extension of ccTalk

// How a reply gives its data length: one byte, or two.
enum class ReplyForm { Short, Long };

constexpr size_t kShortHeadBytes = 2; // address, length
constexpr size_t kLongHeadBytes = 5;  // through the high length byte
constexpr size_t kLongReplyLengthHighAt = 4;

// The head value ReadReplyHead gives for a reply of n data bytes: the bytes
// still to come after the head.
constexpr int HeadValueFor(size_t dataLength, ReplyForm form) {
    return form == ReplyForm::Long ? static_cast<int>(dataLength)
                                   : static_cast<int>(dataLength + kFrameOverhead - kShortHeadBytes);
}
static_assert(HeadValueFor(0, ReplyForm::Short) == 3 && HeadValueFor(266, ReplyForm::Long) == 266,
              "the head values of both forms");

// A request of the extension header: the function code at byte 4, then its
// payload; a long request puts the high byte of its data length at byte 5
// and the payload behind it.
constexpr size_t kFunctionAt = 4;
constexpr size_t kPayloadAt = 5;
constexpr size_t kLongRequestLengthHighAt = 5;
constexpr size_t kLongPayloadAt = 6;
