#include "sim/ducat/ducat_frame_assembler.h"

#include "commands/protocol/extension_commands.h"

namespace sim {

size_t DucatFrameAssembler::ExpectedLength() const {
    if (partial_.size() <= kLengthAt) return 0;
    const size_t lowLength = partial_[kLengthAt];
    const size_t shortLength = lowLength + kFrameOverhead;
    // A frame of fewer than two data bytes cannot be a long request.
    if (lowLength < 2) return shortLength;
    if (partial_.size() <= kFunctionAt) return 0;
    const acceptor::CommandDescriptor* command = acceptor::CommandOfFunction(partial_[kFunctionAt]);
    if (partial_[kHeaderAt] != kExtensionHeader || command == nullptr || !acceptor::LongRequest(*command))
        return shortLength;
    if (partial_.size() <= kLongRequestLengthHighAt) return 0;
    return shortLength + 256 * static_cast<size_t>(partial_[kLongRequestLengthHighAt]);
}

void DucatFrameAssembler::Feed(const uint8_t* data, size_t n, const FrameSink& sink) {
    for (size_t i = 0; i < n; ++i) {
        if (discarding_) return;
        partial_.push_back(data[i]);
        const size_t length = ExpectedLength();
        if (length > kMaxFrame) {
            partial_.clear();
            discarding_ = true;
            return;
        }
        if (length != 0 && partial_.size() == length) {
            sink(partial_);
            partial_.clear();
        }
    }
}

void DucatFrameAssembler::LineIdle() {
    partial_.clear();
    discarding_ = false;
}

} // namespace sim
