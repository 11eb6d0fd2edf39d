#include "tests/fuzz/reply_stream.h"

#include <algorithm>

namespace {

constexpr uint32_t kFailedCallError = 0x1F; // what a device that stops working reports

class ReplyStreamPort final : public platform::SerialPort {
public:
    explicit ReplyStreamPort(ReplyStream& stream) : stream_(stream) {}

    bool getLine(platform::LineSettings& settings) override {
        settings = line_;
        return true;
    }
    bool setLine(const platform::LineSettings& settings) override {
        line_ = settings;
        return true;
    }
    bool getTimeouts(platform::Timeouts& timeouts) override {
        timeouts = timeouts_;
        return true;
    }
    bool setTimeouts(const platform::Timeouts& timeouts) override {
        timeouts_ = timeouts;
        return true;
    }
    bool purge(uint32_t flags) override {
        if (flags & (platform::kPurgeRxAbort | platform::kPurgeRxClear)) stream_.DiscardInput();
        return true;
    }
    bool clearErrors(uint32_t& errors) override {
        errors = stream_.TakeLineErrors();
        return true;
    }
    bool read(void* buffer, size_t n, size_t& got) override {
        got = stream_.Read(static_cast<uint8_t*>(buffer), n);
        return true;
    }
    bool write(const void* buffer, size_t n, size_t& written) override {
        if (stream_.Write(static_cast<const uint8_t*>(buffer), n, written)) return true;
        lastError_ = kFailedCallError;
        return false;
    }
    bool close() override {
        open_ = false;
        return true;
    }
    bool isOpen() const override { return open_; }
    uint32_t lastError() const override { return lastError_; }

private:
    ReplyStream& stream_;
    platform::LineSettings line_;
    platform::Timeouts timeouts_;
    bool open_ = true;
    uint32_t lastError_ = 0;
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
    ++writes_;
    longestWrite_ = std::max(longestWrite_, n);
    written = 0;
    if (input_.AtEnd()) {
        if (!exhausted_) {
            exhausted_ = true;
            if (onExhausted) onExhausted();
        }
        written = n;
        if (echo_) pending_.insert(pending_.end(), bytes, bytes + n);
        return true;
    }
    const uint16_t control = input_.Word();
    const std::vector<uint8_t> reply = input_.Bytes(control & reply_fault::kLengthMask);
    if (control & reply_fault::kLineError) lineErrors_ |= platform::kLineErrorFrame;
    if (control & reply_fault::kWriteFails) return false;
    written = (control & reply_fault::kWriteShort) && n > 0 ? n - 1 : n;
    if (echo_ && !(control & reply_fault::kNoEcho)) {
        const size_t at = pending_.size();
        pending_.insert(pending_.end(), bytes, bytes + written);
        if ((control & reply_fault::kEchoChanged) && written > 0) pending_[at] ^= 0x01;
    }
    pending_.insert(pending_.end(), reply.begin(), reply.end());
    return true;
}

size_t ReplyStream::Read(uint8_t* out, size_t n) {
    const size_t got = std::min(n, pending_.size());
    std::copy_n(pending_.begin(), got, out);
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(got));
    return got;
}

uint32_t ReplyStream::TakeLineErrors() {
    const uint32_t errors = lineErrors_;
    lineErrors_ = 0;
    return errors;
}

std::unique_ptr<platform::SerialPort> OpenReplyStreamPort(ReplyStream& stream) {
    return std::make_unique<ReplyStreamPort>(stream);
}
