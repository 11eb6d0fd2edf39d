// The payload of one request, sized by its command's descriptor: handlers
// fill named fields, never frame places.
#pragma once

#include "commands/protocol/command_descriptor.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace acceptor {

class RequestPayload {
public:
    explicit RequestPayload(const CommandDescriptor& command) : command_(&command) {}

    const CommandDescriptor& Command() const { return *command_; }
    const uint8_t* Bytes() const { return bytes_.data(); }
    size_t Size() const { return command_->payloadLength; }

    // Stores `value` low byte first in the field's bytes (1, 2 or 4). A field
    // that does not lie in this payload is left alone and the result is false.
    bool Put(const PayloadField& field, uint32_t value);
    // Copies the field's size in bytes from `from`.
    bool PutBytes(const PayloadField& field, const uint8_t* from);

private:
    bool Holds(const PayloadField& field) const;

    const CommandDescriptor* command_;
    std::array<uint8_t, kFrameBufferSize> bytes_{};
};

// Writes the request's function code, the high length byte of a long
// request and the payload behind the head of `frame` (kFrameBufferSize
// bytes); the head, the seal and the checksum are the caller's.
void PlaceRequestBody(uint8_t* frame, const RequestPayload& payload);

} // namespace acceptor
