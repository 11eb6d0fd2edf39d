// Makes a reply of any content right for the Ducat Console request it
// answers, as the acceptor seals it: a log page becomes a long frame whose
// bytes 6-267 carry their CRC-16 and are enciphered with the link's key;
// a coin table or coin result gets the CRC-16 of its data; every reply is
// cut to the length its head announces and gets its checksum.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

void SealDucatReply(const uint8_t* request, size_t n, std::vector<uint8_t>& reply);

// The reply as it was before SealDucatReply, for a log page reply that
// came from the acceptor (for making seeds).
void OpenDucatLogPage(std::vector<uint8_t>& reply);
