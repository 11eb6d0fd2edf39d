#include "commands/protocol/frame_sealing.h"

#include "cipher/block_cipher.h"
#include "link/checksums.h"

namespace acceptor {
namespace {

bool CrcHolds(const uint8_t* bytes, size_t from, size_t crcAt) {
    return Crc16(bytes + from, crcAt - from) == LoadLe16(bytes + crcAt);
}

} // namespace

void SealRequestFrame(uint8_t* frame, const CommandDescriptor& command, uint32_t key) {
    if (!command.sealed) return;
    const size_t crcAt = RequestCrcAt(command);
    StoreLe16(frame + crcAt, Crc16(frame, crcAt));
    EncipherBuffer(frame + RequestCipherAt(command), static_cast<uint32_t>(RequestCipherLength(command)), key);
}

bool OpenRequestFrame(uint8_t* frame, const CommandDescriptor& command, uint32_t key) {
    if (!command.sealed) return true;
    DecipherBuffer(frame + RequestCipherAt(command), static_cast<uint32_t>(RequestCipherLength(command)), key);
    return CrcHolds(frame, 0, RequestCrcAt(command));
}

void StoreReplyCrc(uint8_t* data, const CommandDescriptor& command) {
    const ReplyOpening& o = command.opening;
    if (o.crc) StoreLe16(data + o.crcAt, Crc16(data + o.crcFrom, o.crcAt - o.crcFrom));
}

void EncipherReplyData(uint8_t* data, const CommandDescriptor& command, uint32_t key) {
    const ReplyOpening& o = command.opening;
    if (o.decipherLength > 0) EncipherBuffer(data + o.decipherFrom, static_cast<uint32_t>(o.decipherLength), key);
}

bool OpenReplyData(uint8_t* data, const CommandDescriptor& command, uint32_t key) {
    const ReplyOpening& o = command.opening;
    if (o.decipherLength > 0) DecipherBuffer(data + o.decipherFrom, static_cast<uint32_t>(o.decipherLength), key);
    return !o.crc || CrcHolds(data, o.crcFrom, o.crcAt);
}

} // namespace acceptor
