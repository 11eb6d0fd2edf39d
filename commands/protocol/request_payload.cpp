#include "commands/protocol/request_payload.h"

#include <cstring>

namespace acceptor {

bool RequestPayload::Holds(const PayloadField& field) const {
    return field.at + field.size <= command_->payloadLength && field.at + field.size <= bytes_.size();
}

bool RequestPayload::Put(const PayloadField& field, uint32_t value) {
    if (!Holds(field) || field.size > sizeof value) return false;
    for (size_t i = 0; i < field.size; ++i) bytes_[field.at + i] = static_cast<uint8_t>(value >> (8 * i));
    return true;
}

bool RequestPayload::PutBytes(const PayloadField& field, const uint8_t* from) {
    if (!Holds(field)) return false;
    std::memcpy(bytes_.data() + field.at, from, field.size);
    return true;
}

void PlaceRequestBody(uint8_t* frame, const RequestPayload& payload) {
    const CommandDescriptor& command = payload.Command();
    frame[kFunctionAt] = command.function;
    if (LongRequest(command)) frame[kLongRequestLengthHighAt] = static_cast<uint8_t>(RequestDataLength(command) >> 8);
    std::memcpy(frame + PayloadAt(command), payload.Bytes(), payload.Size());
}

} // namespace acceptor
