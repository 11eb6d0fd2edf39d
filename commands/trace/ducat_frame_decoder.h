// What a frame on Ducat Console's link means: the extension header's
// sub-command with its fields, enciphered payloads deciphered (the key is
// the serial number of the last identification reply the decoder saw;
// before it saw one, the sealed bytes are shown with "no key yet"),
// whether the payload's CRC-16 and the frame's checksum hold, and the
// reply read against the request it answers. A reply whose checksum is
// wrong is not read: no coin result, no identity, no key.
#pragma once

#include "commands/protocol/command_descriptor.h"
#include "link/frame_layout.h"
#include "platform/trace_line.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class DucatFrameDecoder {
public:
    std::string Describe(platform::TraceDirection direction, const std::vector<uint8_t>& frame);
    std::string Host(const std::vector<uint8_t>& frame);
    std::string Device(const std::vector<uint8_t>& frame);

    // The function code of the last request (-1 before any, or when it was
    // not of the extension header).
    int LastFunction() const { return function_; }
    // The head value the codec expects for the reply to the last request
    // (-1 when unknown), and whether that reply has the long form.
    int ExpectedHead() const;
    bool LongReply() const;
    // How many bytes the reply frame holds, once `bytes` of it are known;
    // 0 while its head is not yet complete.
    size_t ReplyFrameLength(const std::vector<uint8_t>& bytes) const;
    size_t ReplyHeadBytes() const { return LongReply() ? kLongHeadBytes : kShortHeadBytes; }

    uint32_t Key() const { return key_; }
    void SetKey(uint32_t key) {
        key_ = key;
        keyKnown_ = true;
    }
    // False until an identification reply (or SetKey) gave the key: a
    // sniff that began mid-session shows sealed payloads as they are.
    bool KeyKnown() const { return keyKnown_; }

private:
    std::string Identification(const uint8_t* data, size_t n);
    std::string SealedRequest(const acceptor::CommandDescriptor& command, const std::vector<uint8_t>& frame);
    std::string Reply(const std::vector<uint8_t>& frame);
    std::string ReplyText(const acceptor::CommandDescriptor& command, const uint8_t* data, size_t n, bool crc);

    int function_ = -1;
    uint32_t key_ = 0;
    bool keyKnown_ = false;
};

// The head value the codec expects for the reply to a request of
// `function` (-1 when that is not known), and whether that reply has the
// long form.
int ExpectedHeadFor(int function);
bool LongReplyTo(int function);
// The head value of a reply frame of `length` bytes in the given form.
int ReplyHeadOf(size_t length, bool longReply);
// How many bytes a reply frame of the given form holds, from the first `n`
// of its bytes at `b`; 0 while its head is not yet complete.
size_t ReplyLength(const uint8_t* b, size_t n, bool longReply);

// "2026-12-09 10:31:07 UTC" for a 32-bit calendar time.
std::string CalendarTimeText(uint32_t seconds);
