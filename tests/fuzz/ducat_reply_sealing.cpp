#include "tests/fuzz/ducat_reply_sealing.h"

#include "cipher/block_cipher.h"
#include "coindata/records/device_coin_table.h"
#include "coindata/records/device_info.h"
#include "commands/protocol/acceptor_layouts.h"
#include "link/checksums.h"

namespace {

namespace page = acceptor::log_page;

// The link's cipher key: the serial number of the last identification.
uint32_t LinkKeyNow() { return GetDeviceInfo().dwSerial; }
namespace result = acceptor::read_result;

void StoreDataCrc(std::vector<uint8_t>& reply, size_t dataBytes, size_t crcAt) {
    if (reply.size() != kFrameOverhead + dataBytes) return;
    uint8_t* data = reply.data() + kDataAt;
    StoreLe16(data + crcAt, Crc16(data, crcAt));
}

void SealLogPage(std::vector<uint8_t>& reply) {
    reply.resize(page::kReplyLength);
    reply[kLengthAt] = page::kReplyDataLow;
    reply[page::kReplyHighLengthAt] = page::kReplyDataHigh;
    StoreLe16(reply.data() + page::kReplyCrcAt,
              Crc16(reply.data() + page::kReplyCrcFrom, page::kReplyCrcAt - page::kReplyCrcFrom));
    EncipherBuffer(reply.data() + page::kReplyCipherAt, static_cast<uint32_t>(page::kReplyCipherLength), LinkKeyNow());
}

} // namespace

void SealDucatReply(const uint8_t* request, size_t n, std::vector<uint8_t>& reply) {
    if (n <= kFunctionAt) return;
    const uint8_t function = request[kFunctionAt];
    if (function == acceptor::kReadLogPage) {
        SealLogPage(reply);
    } else {
        if (reply.size() <= kLengthAt) return;
        reply.resize(kFrameOverhead + reply[kLengthAt]);
        if (function == acceptor::kReadTable) StoreDataCrc(reply, kCoinTableReplyBytes, coin_table_reply::kCrcAt);
        if (function == acceptor::kReadResult) StoreDataCrc(reply, result::kReplyData, result::kCrcAt);
    }
    reply.back() = SimpleChecksum(reply.data(), reply.size() - 1);
}

void OpenDucatLogPage(std::vector<uint8_t>& reply) {
    if (reply.size() != page::kReplyLength) return;
    DecipherBuffer(reply.data() + page::kReplyCipherAt, static_cast<uint32_t>(page::kReplyCipherLength), LinkKeyNow());
}
