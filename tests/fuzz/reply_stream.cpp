#include "tests/fuzz/reply_stream.h"

#include "tests/fuzz/memory_port.h"

#include <algorithm>

namespace {

constexpr uint32_t kFailedCallError = 0x1F; // what a device that stops working reports

class ReplyStreamPort final : public MemoryPort {
public:
    explicit ReplyStreamPort(ReplyStream& stream) : MemoryPort(stream.Waiting()), stream_(stream) {}

    bool write(const void* buffer, size_t n, size_t& written) override {
        if (stream_.Write(static_cast<const uint8_t*>(buffer), n, written)) return true;
        SetLastError(kFailedCallError);
        return false;
    }

private:
    uint32_t TakeLineErrors() override { return stream_.TakeLineErrors(); }

    ReplyStream& stream_;
};

} // namespace

void AppendReply(std::vector<uint8_t>& stream, const std::vector<uint8_t>& reply, uint16_t faults) {
    const size_t length = std::min<size_t>(reply.size(), reply_fault::kLengthMask);
    const uint16_t word = static_cast<uint16_t>(length | (faults & ~reply_fault::kLengthMask));
    stream.push_back(static_cast<uint8_t>(word & 0xFF));
    stream.push_back(static_cast<uint8_t>(word >> 8));
    stream.insert(stream.end(), reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(length));
}

bool ReplyStream::Write(const uint8_t* bytes, size_t n, size_t& written) {
    longestWrite_ = std::max(longestWrite_, n);
    written = 0;
    if (input_.AtEnd()) {
        if (!exhausted_) {
            exhausted_ = true;
            if (onExhausted) onExhausted();
        }
        written = n;
        if (echo_) waiting_.insert(waiting_.end(), bytes, bytes + n);
        return true;
    }
    const uint16_t control = input_.Word();
    std::vector<uint8_t> reply = input_.Bytes(control & reply_fault::kLengthMask);
    if ((control & reply_fault::kSealed) && seal) seal(bytes, n, reply);
    if (control & reply_fault::kLineError) lineErrors_ |= platform::kLineErrorFrame;
    if (control & reply_fault::kWriteFails) return false;
    written = (control & reply_fault::kWriteShort) && n > 0 ? n - 1 : n;
    if (echo_ && !(control & reply_fault::kNoEcho)) {
        const size_t at = waiting_.size();
        waiting_.insert(waiting_.end(), bytes, bytes + written);
        if ((control & reply_fault::kEchoChanged) && written > 0) waiting_[at] ^= 0x01;
    }
    waiting_.insert(waiting_.end(), reply.begin(), reply.end());
    return true;
}

uint32_t ReplyStream::TakeLineErrors() {
    const uint32_t errors = lineErrors_;
    lineErrors_ = 0;
    return errors;
}

std::unique_ptr<platform::SerialPort> OpenReplyStreamPort(ReplyStream& stream) {
    return std::make_unique<ReplyStreamPort>(stream);
}
