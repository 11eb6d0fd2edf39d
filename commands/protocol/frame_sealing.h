// Sealing and opening by a command's descriptor, for the host, the trace and
// the virtual acceptor alike. A request is sealed with the CRC-16 of every
// byte before it behind its payload, then enciphered from the descriptor's
// cipher start through that CRC; a reply's data is opened by deciphering its
// range and checking its CRC-16. The key is the acceptor's serial number.
#pragma once

#include "commands/protocol/command_descriptor.h"

#include <cstddef>
#include <cstdint>

namespace acceptor {

// `frame` holds the command's whole request. Nothing for a request in the
// clear.
void SealRequestFrame(uint8_t* frame, const CommandDescriptor& command, uint32_t key);
// Deciphers a sealed request in place; whether its CRC-16 holds (true for
// a request in the clear).
bool OpenRequestFrame(uint8_t* frame, const CommandDescriptor& command, uint32_t key);

// `data` holds the reply's data (command.replyData bytes). The acceptor's
// side: the CRC-16 where the opening checks it, then the cipher over its
// range.
void StoreReplyCrc(uint8_t* data, const CommandDescriptor& command);
void EncipherReplyData(uint8_t* data, const CommandDescriptor& command, uint32_t key);
// The host's side: deciphers in place; whether the CRC-16 holds (true for a
// reply the descriptor gives none).
bool OpenReplyData(uint8_t* data, const CommandDescriptor& command, uint32_t key);

} // namespace acceptor
