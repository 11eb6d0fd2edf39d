#include "tests/fuzz/reply_stream.h"

#include <algorithm>

void AppendReply(std::vector<uint8_t>& stream, const std::vector<uint8_t>& reply, uint16_t faults) {
    const size_t length = std::min<size_t>(reply.size(), reply_fault::kLengthMask);
    const uint16_t word = static_cast<uint16_t>(length | (faults & ~reply_fault::kLengthMask));
    stream.push_back(static_cast<uint8_t>(word & 0xFF));
    stream.push_back(static_cast<uint8_t>(word >> 8));
    stream.insert(stream.end(), reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(length));
}

testing_support::FakeWriteAnswer ReplyStream::Answer(const uint8_t* bytes, size_t n) {
    longestWrite_ = std::max(longestWrite_, n);
    testing_support::FakeWriteAnswer answer;
    if (input_.AtEnd()) {
        if (!exhausted_) {
            exhausted_ = true;
            if (onExhausted) onExhausted();
        }
        return answer; // all taken, echoed, silence
    }
    const uint16_t control = input_.Word();
    answer.reply = input_.Bytes(control & reply_fault::kLengthMask);
    if ((control & reply_fault::kSealed) && seal) seal(bytes, n, answer.reply);
    if (control & reply_fault::kLineError) answer.lineErrors = platform::kLineErrorFrame;
    answer.fails = (control & reply_fault::kWriteFails) != 0;
    if ((control & reply_fault::kWriteShort) && n > 0) answer.taken = n - 1;
    answer.echoed = (control & reply_fault::kNoEcho) == 0;
    answer.echoChanged = (control & reply_fault::kEchoChanged) != 0;
    return answer;
}

testing_support::FakePortScript PlayedBy(ReplyStream& stream, bool oneWireEcho) {
    testing_support::FakePortScript script;
    script.echo = oneWireEcho;
    script.replySource = [&stream](const uint8_t* bytes, size_t n) { return stream.Answer(bytes, n); };
    return script;
}
