#include "demo/driver/cct_driver.h"

#include "demo/driver/reset_question.h"
#include "platform/clock.h"
#include "platform/quiet_line.h"

#include <cstring>
#include <utility>
#include <vector>

uint8_t s_LastEventCounter = 0;

CCctDriver::CCctDriver(TraceHook traceHook)
    : trace(std::move(traceHook)), askReinitialize(AskReinitializeByMessageBox),
      // OpenDemoPort, keeping the system's error for LastOpenError().
      openPort([this](const std::string& device) { return platform::OpenSerialPort(device, openError_); }),
      timeouts(DemoPortTimeouts()) {}

CCctDriver::~CCctDriver() { cctClose(); }

std::string CCctDriver::DeviceName() const {
    return portName.empty() ? DemoPortDevice(portNumber) : portName;
}

void CCctDriver::Trace(const char* label, const uint8_t* bytes, size_t count) const {
    if (trace) trace(label, bytes, count);
}

int CCctDriver::cctOpen() {
    const std::string device = DeviceName();
    openError_ = 0;
    port_ = device.empty() ? nullptr : openPort(device);
    openFailed_ = !port_;
    if (!port_) {
        Trace(trace_label::kOpenFailed, nullptr, 0);
        return 0;
    }
    // A reply that came after its exchange gave up is still on the line;
    // read as the next echo it would fail every exchange from then on.
    port_->Purge(platform::kPurgeRxAbort | platform::kPurgeRxClear);
    // A port that will not take the settings stays open with the ones it has.
    if (!ConfigureDemoPort(*port_, timeouts)) return 0;
    Trace(trace_label::kOpened, nullptr, 0);
    return 1;
}

void CCctDriver::cctClose() {
    if (!port_) return;
    if (port_->Close()) {
        port_.reset();
        Trace(trace_label::kClosed, nullptr, 0);
    } else {
        Trace(trace_label::kCloseFailed, nullptr, 0);
    }
}

int CCctDriver::Transact(uint8_t header, const uint8_t* data, uint8_t length, uint8_t* reply, uint8_t& replyLength,
                         size_t replyCapacity, uint32_t pauseMs) {
    if (length > MAX_REQUEST_DATA) return kTransactRequestTooLong;
    txFrame_[kCctDestination] = deviceAddress;
    txFrame_[kCctLength] = length;
    txFrame_[kCctSource] = HOST_ADDRESS;
    txFrame_[kCctHeader] = header;
    if (length != 0) std::memcpy(txFrame_ + kCctData, data, length);
    txFrame_[kCctData + length] = CctChecksum(txFrame_, kCctData + length);

    replyLength = 0;
    const int result = Exchange(pauseMs, replyCapacity);
    if (result != kExchangeOk) {
        const uint8_t code = static_cast<uint8_t>(result);
        Trace(trace_label::kFailed, &code, 1);
        AwaitQuietLine();
        cctClose();
        return -result;
    }
    const uint8_t n = rxFrame_[kCctLength];
    if (n != 0) std::memcpy(reply, rxFrame_ + kCctData, n);
    replyLength = n;
    return n;
}

int CCctDriver::Request(uint8_t header, std::initializer_list<uint8_t> data, CctReply& reply) {
    if (data.size() > MAX_REQUEST_DATA) return kTransactRequestTooLong;
    return Transact(header, data.begin(), static_cast<uint8_t>(data.size()), reply.data, reply.length,
                    sizeof reply.data);
}

void CCctDriver::AwaitQuietLine() {
    // The rest of a late or mis-framed reply, or the last byte of an echo,
    // may still be on its way; read as the next request's echo it would
    // fail that exchange too, and the next, one after the other. Read a
    // byte at a time, so the gap is the silence after the last byte.
    if (!port_) return;
    std::vector<uint8_t> discarded;
    const auto take = [this, &discarded](const uint8_t* bytes, size_t n) {
        discarded.insert(discarded.end(), bytes, bytes + n);
        if (discarded.size() < kCctFrameSize) return;
        Trace(trace_label::kDiscarded, discarded.data(), discarded.size());
        discarded.clear();
    };
    platform::AwaitQuietLine(*port_, {kQuietGapMs, kQuietBoundMs, 1}, take);
    if (!discarded.empty()) Trace(trace_label::kDiscarded, discarded.data(), discarded.size());
}

int CCctDriver::Exchange(uint32_t pauseMs, size_t replyCapacity) {
    if (!port_) cctOpen();
    if (!port_) return kExchangeNotOpen;

    const size_t frameLength = kCctFrameOverhead + txFrame_[kCctLength];
    size_t written = 0;
    if (!port_->Write(txFrame_, frameLength, written)) return kExchangeCallFailed;
    Trace(trace_label::kSent, txFrame_, written);
    if (written != frameLength) return kExchangeWriteShort;

    // The one-wire bus hands every byte sent straight back.
    size_t got = 0;
    if (!port_->Read(rxFrame_, written, got)) return kExchangeCallFailed;
    Trace(trace_label::kEcho, rxFrame_, got);
    if (got < written) return kExchangeEchoShort;
    if (std::memcmp(rxFrame_, txFrame_, written) != 0) return kExchangeEchoDiffers;

    if (pauseMs != 0) platform::SleepMilliseconds(pauseMs);
    return ReadReply(replyCapacity);
}

int CCctDriver::ReadReply(size_t replyCapacity) {
    size_t got = 0;
    if (!port_->Read(rxFrame_, kCctHeadLength, got)) return kExchangeCallFailed;
    Trace(trace_label::kReply, rxFrame_, got);
    if (got < kCctHeadLength) return kExchangeHeadShort;

    const uint8_t n = rxFrame_[kCctLength];
    // The frame holds 95 data bytes; a longer announcement is refused before
    // anything more is read.
    if (n > MAX_REQUEST_DATA || n > replyCapacity) return kExchangeReplyTooLong;
    if (n != 0) {
        if (!port_->Read(rxFrame_ + kCctHeadLength, n, got)) {
            Trace(trace_label::kReply, rxFrame_ + kCctHeadLength, got);
            return kExchangeCallFailed;
        }
        if (got < n) return kExchangeReplyShort;
        Trace(trace_label::kReply, rxFrame_ + kCctHeadLength, got);
    }
    return CctSumIsZero(rxFrame_, kCctFrameOverhead + n) ? kExchangeOk : kExchangeBadChecksum;
}
