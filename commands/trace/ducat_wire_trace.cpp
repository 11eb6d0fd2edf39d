#include "commands/trace/ducat_wire_trace.h"

#include "link/checksums.h"
#include "link/frame_layout.h"
#include "platform/local_time.h"

#include <cstdio>

namespace {

using platform::TraceDirection;


std::string Number(long long n) { return std::to_string(n); }

} // namespace

std::string ReplyFailure(const DucatFrameDecoder& decoder, const std::vector<uint8_t>& reply) {
    const int expected = decoder.ExpectedHead();
    const size_t whole = decoder.ReplyFrameLength(reply);
    if (whole == 0) {
        return "wrong head -1, " + Number(expected) + " expected: " +
               (reply.empty() ? std::string("no reply") : Number(static_cast<long long>(reply.size())) + " bytes came");
    }
    const int head = static_cast<int>(whole - decoder.ReplyHeadBytes());
    if (expected >= 0 && head != expected) return "wrong head " + Number(head) + ", " + Number(expected) + " expected";
    if (reply.size() < whole) {
        return "short remainder: " + Number(static_cast<long long>(reply.size() - decoder.ReplyHeadBytes())) + " of " +
               Number(head) + " bytes";
    }
    if (SimpleChecksum(reply.data(), whole - 1) != reply[whole - 1]) {
        return "checksum wrong, reply header " + Number(reply[kHeaderAt]);
    }
    return std::string();
}

DucatWireTrace::DucatWireTrace(LineSink lines, FrameSink frames) : lines_(std::move(lines)), frames_(std::move(frames)) {}

void DucatWireTrace::Emit(const std::string& time, TraceDirection direction, const std::vector<uint8_t>& bytes,
                          const std::string& meaning) {
    if (!lines_) return;
    platform::TraceLine line;
    line.time = time;
    line.direction = direction;
    line.bytes = bytes;
    line.meaning = meaning;
    lines_(line);
}

void DucatWireTrace::OnWrite(const uint8_t* bytes, size_t asked, size_t written, bool ok, uint32_t error) {
    std::lock_guard<std::mutex> guard(lock_);
    FinishReply();
    const std::string time = platform::LocalTimeText();
    const std::vector<uint8_t> frame(bytes, bytes + asked);
    Emit(time, TraceDirection::Host, frame, decoder_.Host(frame));
    if (frames_) frames_(TraceDirection::Host, frame, decoder_.LastFunction());
    if (!ok || written != asked) {
        char text[96];
        std::snprintf(text, sizeof text, "write failed: %zu of %zu bytes, system error %X", written, asked,
                      static_cast<unsigned>(error));
        Emit(time, TraceDirection::Failed, {}, text);
        return;
    }
    reply_.clear();
    replyTime_ = time;
    replyOpen_ = true;
}

void DucatWireTrace::OnRead(const uint8_t* bytes, size_t asked, size_t got, bool ok) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!replyOpen_) return;
    reply_.insert(reply_.end(), bytes, bytes + got);
    replyTime_ = platform::LocalTimeText();
    const size_t whole = decoder_.ReplyFrameLength(reply_);
    // A short read ends the codec's exchange, and so does a whole frame.
    if (!ok || got < asked || (whole != 0 && reply_.size() >= whole)) FinishReply();
}

void DucatWireTrace::OnClose() {
    std::lock_guard<std::mutex> guard(lock_);
    FinishReply();
    Emit(platform::LocalTimeText(), TraceDirection::Port, {}, "closed");
}

void DucatWireTrace::NotePort(const std::string& text) {
    std::lock_guard<std::mutex> guard(lock_);
    Emit(platform::LocalTimeText(), TraceDirection::Port, {}, text);
}

void DucatWireTrace::FinishReply() {
    if (!replyOpen_) return;
    replyOpen_ = false;
    if (!reply_.empty()) {
        Emit(replyTime_, TraceDirection::Device, reply_, decoder_.Device(reply_));
        if (frames_) frames_(TraceDirection::Device, reply_, decoder_.LastFunction());
    }
    const std::string failure = ReplyFailure(decoder_, reply_);
    if (!failure.empty()) Emit(replyTime_, TraceDirection::Failed, {}, failure);
}
