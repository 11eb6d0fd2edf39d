// A serial line played from fuzz input, as the reply source of the fake
// serial port (tests/support/fake_serial_port.h): every write the host
// makes takes the next reply from the input, which then waits to be read,
// as bytes a device sent. Reads return what is waiting, as a read that ran
// into its time limit would. The input is a sequence of replies, each a 16-bit
// control word (low byte first) and its bytes:
//
//   bits 0-9   length of the reply (cut short where the input ends)
//   bit 10     the write fails
//   bit 11     the write takes one byte less than asked
//   bit 12     the line reports a framing error at its next check
//   bit 13     no echo of the request (one-wire bus only)
//   bit 14     the echo's first byte is changed (one-wire bus only)
//   bit 15     the target makes the reply right for the request it answers
//              (its length, CRC-16, cipher and checksum), so that the
//              fuzzer reaches what lies behind those checks
//
// When the input is used up every further write is answered with silence
// and the stream reports itself exhausted.
#pragma once

#include "tests/fuzz/fuzz_input.h"
#include "tests/support/fake_serial_port.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace reply_fault {
constexpr uint16_t kLengthMask = 0x03FF;
constexpr uint16_t kWriteFails = 0x0400;
constexpr uint16_t kWriteShort = 0x0800;
constexpr uint16_t kLineError = 0x1000;
constexpr uint16_t kNoEcho = 0x2000;
constexpr uint16_t kEchoChanged = 0x4000;
constexpr uint16_t kSealed = 0x8000;
} // namespace reply_fault

// Appends one reply in the stream's form (for making seeds).
void AppendReply(std::vector<uint8_t>& stream, const std::vector<uint8_t>& reply, uint16_t faults = 0);

class ReplyStream {
public:
    explicit ReplyStream(FuzzInput& input) : input_(input) {}

    // Called once, at the first write after the input ran out.
    std::function<void()> onExhausted;
    // Makes a reply marked sealed right for the request (none: as it is).
    std::function<void(const uint8_t* request, size_t n, std::vector<uint8_t>& reply)> seal;

    bool Exhausted() const { return exhausted_; }
    size_t LongestWrite() const { return longestWrite_; }

    // What the line does with a write, as the file comment says.
    testing_support::FakeWriteAnswer Answer(const uint8_t* bytes, size_t n);

private:
    FuzzInput& input_;
    bool exhausted_ = false;
    size_t longestWrite_ = 0;
};

// The script of a fake serial port played by `stream`; a port opened again
// after a close goes on with the same stream. With `oneWireEcho` the
// request comes back before each reply.
testing_support::FakePortScript PlayedBy(ReplyStream& stream, bool oneWireEcho);
