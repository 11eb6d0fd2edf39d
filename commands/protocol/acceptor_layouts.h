// The acceptor maker's extension of ccTalk (header 255): function codes,
// data lengths and the byte places of every request and reply frame, as
// the acceptor has them. The command table (extension_commands.h) is made
// from these places; the coin table's decoder and the virtual acceptor read
// frames by them. Request places are request bytes; reply places are reply
// data bytes (data byte 0 = reply byte 4) unless they say otherwise.
#pragma once

#include "link/frame_layout.h"

#include <cstddef>
#include <cstdint>

namespace acceptor {

enum FunctionCode : uint8_t {
    kIdentify = 0x00,
    kWriteFragment = 0x01,
    kReadTable = 0x0F,
    kReadResult = 0x10,
    kWriteDivider = 0x11,
    kWriteParams = 0x12,
    kReadLogPage = 0x13,
};

// Mailbox sub-command numbers (not the bytes on the wire).
enum SubCommand : uint8_t {
    kSubIdentify = 0,
    kSubWriteCoin = 1,
    kSubReadLog = 2,
    kSubReadTable = 3,
    kSubMonitor = 5,
    kSubWriteDivider = 6,
    kSubWriteParams = 7,
};

// Reply with one status byte (writes of fragments, dividers, parameters).
namespace status_reply {
constexpr size_t kData = 1;
constexpr size_t kStatusAt = 4; // reply byte 4, data byte 0
constexpr size_t kStatusInData = kStatusAt - kDataAt;
} // namespace status_reply

namespace identify {
constexpr uint8_t kRequestData = 6;
constexpr size_t kFlagAt = 5;
constexpr size_t kTimeAt = 6;
constexpr size_t kReplyData = 101;
// Places inside the reply's data (data byte 0 = reply byte 4).
constexpr size_t kAddressAt = 4;
constexpr size_t kSerialAt = 8;
constexpr size_t kSerialTextAt = 12;
constexpr size_t kSerialTextField = 32;
constexpr size_t kManufacturerAt = 48;
constexpr size_t kManufacturerChars = 8;
constexpr size_t kCategoryAt = 56;
constexpr size_t kCategoryChars = 13;
constexpr size_t kBuildAt = 69;
constexpr size_t kBuildChars = 16;
constexpr size_t kRevisionAt = 85;
constexpr size_t kRevisionChars = 5;
} // namespace identify

// The long frame a coin description fragment (request) and a log page
// (reply) travel in (places here are frame bytes, request and reply alike): 266 data bytes, given as 10 in the length byte and a
// high length byte of 1 (10 + 256 x 1), enciphered from byte 6 through the
// CRC-16 at 268-269.
namespace long_frame {
constexpr size_t kLength = 271;
constexpr int kData = 266;
constexpr uint8_t kDataLow = 10;
constexpr uint8_t kDataHigh = 1;
constexpr size_t kCrcAt = 268;
constexpr size_t kCipherAt = 6;
constexpr size_t kCipherLength = 264; // through the CRC
static_assert(kDataLow + 256 * kDataHigh == kData && kLength == kFrameOverhead + kData && kLength == kFrameBufferSize,
              "the long frame's length");
static_assert(kCipherAt + kCipherLength == kCrcAt + 2, "the cipher covers the CRC");
} // namespace long_frame

namespace write_fragment {
constexpr size_t kFrameLength = long_frame::kLength;
constexpr uint8_t kDataLengthLow = long_frame::kDataLow;
constexpr size_t kDataLengthHighAt = kLongRequestLengthHighAt;
constexpr uint8_t kDataLengthHigh = long_frame::kDataHigh;
constexpr size_t kFragmentAt = 6;
constexpr size_t kCoinIndexAt = 7;
constexpr size_t kImageAt = 8;
constexpr size_t kFragmentBytes = 256;
constexpr int kFragments = 16;
constexpr size_t kCrcAt = long_frame::kCrcAt; // over bytes 0-267
constexpr size_t kCipherAt = long_frame::kCipherAt;
constexpr size_t kCipherLength = long_frame::kCipherLength;
// Status values of the acceptor.
constexpr int kAllTaken = 16;
constexpr int kFirstErrorStatus = 20;
} // namespace write_fragment

// Places here are frame bytes, request and reply alike.
namespace log_page {
constexpr uint8_t kRequestData = 10;
constexpr size_t kRequestLength = 15;
constexpr size_t kPageAt = 6; // 16-bit, request and reply alike
constexpr size_t kRequestCrcAt = 12; // over bytes 0-11
constexpr size_t kRequestCipherAt = 6;
constexpr size_t kRequestCipherLength = 8;
// The reply is a long frame with its high length byte at reply byte 4.
constexpr uint8_t kReplyDataLow = long_frame::kDataLow;
constexpr uint8_t kReplyDataHigh = long_frame::kDataHigh;
constexpr size_t kReplyHighLengthAt = kLongReplyLengthHighAt;
constexpr size_t kReplyData = long_frame::kData;
constexpr size_t kReplyLength = long_frame::kLength;
constexpr size_t kPageBytesAt = 8;
constexpr size_t kPageBytes = 256;
constexpr size_t kReplyCrcAt = long_frame::kCrcAt; // over reply bytes 6-267
constexpr size_t kReplyCrcFrom = 6;
constexpr size_t kReplyCipherAt = long_frame::kCipherAt;
constexpr size_t kReplyCipherLength = long_frame::kCipherLength;
// The same places in the reply's data.
constexpr size_t kPageInData = kPageAt - kDataAt;
constexpr size_t kPageBytesInData = kPageBytesAt - kDataAt;
// Page 0 bytes 226-227: the number of pages minus 2.
constexpr size_t kPageCountAt = 226;
constexpr int kPageCountBias = 2;
} // namespace log_page

namespace read_table {
constexpr uint8_t kRequestData = 6;
constexpr size_t kTimeAt = 6;
} // namespace read_table

// The data bytes of the coin table reply: 16 rows of 13 bytes from byte 4,
// the acceptance parameters, then the CRC-16 of bytes 0-233 (low byte
// first). Numbers are stored low byte first.
namespace coin_table_reply {
constexpr size_t kBytes = 236;
constexpr size_t kRows = 16;
constexpr size_t kRowsAt = 4;
constexpr size_t kRowBytes = 13;
// Places inside a row.
constexpr size_t kRowCoinId = 0;
constexpr size_t kCoinIdChars = 6;
constexpr size_t kRowDivider = 6;
constexpr size_t kRowAllowed = 7;
constexpr size_t kRowFirm = 8;
constexpr size_t kRowWritten = 9; // 32-bit
// The acceptance parameters.
constexpr size_t kNNetDividerAt = 212;
constexpr size_t kNumbStandDevAt = 213;
constexpr size_t kMaxErrorAt = 214;          // 16-bit
constexpr size_t kStructureWrittenAt = 216;  // 32-bit
constexpr size_t kMinTravelTimeAt = 220;     // 16-bit
constexpr size_t kMaxTravelTimeAt = 222;     // 16-bit
constexpr size_t kCrcAt = 234;
static_assert(kRowsAt + kRowBytes * kRows == kNNetDividerAt, "the parameters follow the rows");
static_assert(kCrcAt + 2 == kBytes, "the CRC ends the reply");
} // namespace coin_table_reply

namespace read_result {
constexpr uint8_t kRequestData = 2;
constexpr size_t kReplyData = 35;
// Places inside the reply's data.
constexpr size_t kStatErrorsAt = 0;   // best, next
constexpr size_t kNeuralErrorsAt = 2; // best, next
constexpr size_t kBestCoinAt = 4;
constexpr size_t kNextCoinAt = 10;
constexpr size_t kCoinIdChars = 6;
constexpr size_t kPairsAt = 16; // A0, B0, A1, B1, ... A4, B4
constexpr size_t kPairs = 5;
constexpr size_t kRowAt = 26;
constexpr size_t kStampAt = 27;
constexpr size_t kCounterAt = 31;
constexpr size_t kAcceptedAt = 32;
constexpr size_t kCrcAt = 33; // over data bytes 0-32
} // namespace read_result

// Sub-commands 6 and 7 share one request layout.
namespace write_setting {
constexpr uint8_t kRequestData = 20;
constexpr size_t kRequestLength = 25;
constexpr size_t kTimeAt = 8;
constexpr size_t kValuesAt = 12;
constexpr size_t kValues = 3;
constexpr size_t kCrcAt = 22;    // over bytes 0-21
constexpr size_t kCipherAt = 8;
constexpr size_t kCipherLength = 16;
} // namespace write_setting

} // namespace acceptor
