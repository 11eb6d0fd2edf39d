#include "demo/trace/cct_wire_trace.h"

#include "demo/driver/cct_protocol.h"
#include "platform/local_time.h"

#include <cstring>

namespace {

using platform::TraceDirection;

struct ResultText {
    int result;
    const char* text;
};

constexpr ResultText kResultTexts[] = {
    {kExchangeCallFailed, "a write or read call failed"},
    {kExchangeEchoDiffers, "an echo byte differs from the byte sent"},
    {kExchangeEchoShort, "fewer echo bytes than were written"},
    {kExchangeHeadShort, "fewer than 5 bytes of reply head"},
    {kExchangeReplyShort, "fewer reply bytes than the length byte announced"},
    {kExchangeWriteShort, "fewer bytes written than the frame holds"},
    {kExchangeNotOpen, "the port is closed and opening it failed"},
    {kExchangeBadChecksum, "the reply's bytes do not sum to 0"},
    {kExchangeReplyTooLong, "the reply announces more data than the frame holds"},
};

constexpr char kDiscardedMeaning[] = "discarded: came after the exchange had failed";

bool Is(const char* label, const char* known) { return std::strcmp(label, known) == 0; }

bool WholeFrame(const std::vector<uint8_t>& f) {
    return f.size() >= kCctFrameOverhead && f.size() == kCctFrameOverhead + f[kCctLength];
}

} // namespace

const char* ExchangeResultText(int result) {
    for (const auto& r : kResultTexts) {
        if (r.result == result) return r.text;
    }
    return result == 0 ? "" : "unknown result";
}

std::string FailedMeaning(int result) { return "result -" + std::to_string(result) + ": " + ExchangeResultText(result); }

CctWireTrace::CctWireTrace(LineSink lines, ExchangeSink exchanges)
    : lines_(std::move(lines)), exchanges_(std::move(exchanges)) {}

CCctDriver::TraceHook CctWireTrace::Hook() {
    return [this](const char* label, const uint8_t* bytes, size_t count) { OnTrace(label, bytes, count); };
}

void CctWireTrace::Emit(TraceDirection direction, const std::vector<uint8_t>& bytes, const std::string& meaning) {
    if (!lines_) return;
    platform::TraceLine line;
    line.time = platform::LocalTimeText();
    line.direction = direction;
    line.bytes = bytes;
    line.meaning = meaning;
    lines_(line);
}

void CctWireTrace::EmitFrame(TraceDirection direction, const std::vector<uint8_t>& bytes) {
    // The decoder follows every frame, even with no line to write, so the
    // coin ids and the event counter it learns stay right.
    const std::string meaning = decoder_.Describe(direction, bytes);
    Emit(direction, bytes, meaning);
}

void CctWireTrace::FlushReply() {
    if (!replyShown_ && !current_.reply.empty()) EmitFrame(TraceDirection::Device, current_.reply);
    replyShown_ = true;
}

void CctWireTrace::Finish(int result) {
    FlushReply();
    if (result != 0) Emit(TraceDirection::Failed, {}, FailedMeaning(result));
    current_.result = result;
    if (inExchange_ && exchanges_) exchanges_(current_);
    inExchange_ = false;
}

void CctWireTrace::OnReplyBytes(const uint8_t* bytes, size_t count) {
    current_.reply.insert(current_.reply.end(), bytes, bytes + count);
    if (!WholeFrame(current_.reply)) return;
    FlushReply();
    // A whole reply that sums to 0 ends the exchange; any other ends with
    // the driver's failure, which comes next.
    if (CctSumIsZero(current_.reply.data(), current_.reply.size())) Finish(kExchangeOk);
}

void CctWireTrace::OnTrace(const char* label, const uint8_t* bytes, size_t count) {
    if (Is(label, trace_label::kSent)) {
        if (inExchange_) Finish(kExchangeOk);
        current_ = CctExchange{};
        current_.request.assign(bytes, bytes + count);
        inExchange_ = true;
        replyShown_ = false;
        EmitFrame(TraceDirection::Host, current_.request);
    } else if (Is(label, trace_label::kEcho)) {
        current_.echo.assign(bytes, bytes + count);
        if (count != 0) EmitFrame(TraceDirection::Echo, current_.echo);
    } else if (Is(label, trace_label::kReply)) {
        OnReplyBytes(bytes, count);
    } else if (Is(label, trace_label::kFailed)) {
        if (!inExchange_) current_ = CctExchange{}; // failed before anything was sent
        inExchange_ = true;
        Finish(count == 1 ? static_cast<int>(bytes[0]) : static_cast<int>(kExchangeCallFailed));
    } else if (Is(label, trace_label::kDiscarded)) {
        Emit(TraceDirection::Noise, std::vector<uint8_t>(bytes, bytes + count), kDiscardedMeaning);
    } else if (Is(label, trace_label::kOpened)) {
        Emit(TraceDirection::Port, {}, "opened");
    } else if (Is(label, trace_label::kOpenFailed)) {
        Emit(TraceDirection::Port, {}, "cannot open the port");
    } else if (Is(label, trace_label::kClosed)) {
        Emit(TraceDirection::Port, {}, "closed");
    } else if (Is(label, trace_label::kCloseFailed)) {
        Emit(TraceDirection::Port, {}, "closing failed");
    }
}
