#include "commands/trace/ducat_frame_cutter.h"

#include "commands/protocol/extension_commands.h"
#include "link/checksums.h"

namespace {

using platform::StreamPiece;
using platform::TraceDirection;
using platform::TraceLine;

constexpr size_t kSourceAt = 2;
// The state: nothing asked yet, or the last request's device address and
// function code, which decide what may answer it.
constexpr int kNoRequest = -1;
int Asked(const uint8_t* request) { return request[0] << 8 | request[kFunctionAt]; }
int AskedFunction(int state) { return state == kNoRequest ? kNoRequest : state & 0xFF; }
bool FromAsked(int state, const uint8_t* reply) { return state == kNoRequest || reply[kSourceAt] == state >> 8; }

bool IsRequest(const uint8_t* b) { return b[kHeaderAt] == kExtensionHeader; }

// A request by its length byte; one whose length byte may be the low byte
// of a long request's also by its function code.
size_t RequestLength(const uint8_t* b, size_t n) {
    const size_t shortLength = kFrameOverhead + b[kLengthAt];
    if (!acceptor::SomeLongRequestHasLow(b[kLengthAt])) return shortLength;
    if (n <= kFunctionAt) return 0;
    const acceptor::CommandDescriptor* command = acceptor::CommandOfFunction(b[kFunctionAt]);
    return command != nullptr && acceptor::LongRequest(*command) ? acceptor::RequestFrameLength(*command) : shortLength;
}

// A reply to the host from the device asked, in the form the last request
// asks for and only with the head the codec expects: any other the codec
// refuses, or the protocol never sends.
size_t ReplyLengthAfter(int state, const uint8_t* b, size_t n) {
    if (b[0] != kHostAddress || !FromAsked(state, b)) return platform::kNoFrame;
    const int function = AskedFunction(state);
    const bool longReply = LongReplyTo(function);
    const size_t length = ReplyLength(b, n, longReply);
    if (length == 0) return 0;
    return ReplyHeadOf(length, longReply) == ExpectedHeadFor(function) ? length : platform::kNoFrame;
}

platform::FrameRules DucatFrameRules() {
    platform::FrameRules rules;
    rules.length = [](int state, const uint8_t* b, size_t n) -> size_t {
        if (n <= kHeaderAt) return 0;
        if (!IsRequest(b)) return ReplyLengthAfter(state, b, n);
        return b[kSourceAt] == kHostAddress ? RequestLength(b, n) : platform::kNoFrame;
    };
    rules.holds = [](int, const uint8_t* b, size_t n) { return SimpleChecksum(b, n - 1) == b[n - 1]; };
    rules.next = [](int state, const uint8_t* frame, size_t) { return IsRequest(frame) ? Asked(frame) : state; };
    return rules;
}

} // namespace

DucatFrameCutter::DucatFrameCutter() : finder_(DucatFrameRules(), kNoRequest) {}

std::vector<TraceLine> DucatFrameCutter::Feed(const uint8_t* bytes, size_t n, size_t offset) {
    return Lines(finder_.Feed(bytes, n, offset));
}

std::vector<TraceLine> DucatFrameCutter::Finish() { return Lines(finder_.Finish()); }

std::vector<TraceLine> DucatFrameCutter::Lines(const std::vector<StreamPiece>& pieces) {
    std::vector<TraceLine> lines;
    for (const StreamPiece& piece : pieces) lines.push_back(piece.frame ? FrameLine(piece) : platform::NoiseLine(piece));
    return lines;
}

TraceLine DucatFrameCutter::FrameLine(const StreamPiece& piece) {
    TraceLine line;
    line.time = platform::RawOffsetStamp(piece.offset);
    line.direction = IsRequest(piece.bytes.data()) ? TraceDirection::Host : TraceDirection::Device;
    line.bytes = piece.bytes;
    line.meaning = decoder_.Describe(line.direction, line.bytes);
    return line;
}
