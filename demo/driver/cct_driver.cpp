#include "demo/driver/cct_driver.h"

#include "demo/driver/reset_question.h"
#include "platform/clock.h"
#include "platform/quiet_line.h"

#include <cstring>
#include <utility>
#include <vector>

uint8_t s_LastEventCounter = 0;

CCctDriver::CCctDriver(TraceHook trace)
    : m_Trace(std::move(trace)), m_AskReinitialize(AskReinitializeByMessageBox),
      // OpenDemoPort, keeping the system's error for LastOpenError().
      m_OpenPort([this](const std::string& device) { return platform::OpenSerialPort(device, openError_); }),
      m_Timeouts(DemoPortTimeouts()) {}

CCctDriver::~CCctDriver() { cctClose(); }

std::string CCctDriver::DeviceName() const {
    return m_PortName.empty() ? DemoPortDevice(m_PortNumber) : m_PortName;
}

void CCctDriver::Trace(const char* label, const uint8_t* bytes, size_t count) const {
    if (m_Trace) m_Trace(label, bytes, count);
}

int CCctDriver::cctOpen() {
    const std::string device = DeviceName();
    openError_ = 0;
    m_Port = device.empty() ? nullptr : m_OpenPort(device);
    openFailed_ = !m_Port;
    if (!m_Port) {
        Trace(trace_label::kOpenFailed, nullptr, 0);
        return 0;
    }
    // A reply that came after its exchange gave up is still on the line;
    // read as the next echo it would fail every exchange from then on.
    m_Port->Purge(platform::kPurgeRxAbort | platform::kPurgeRxClear);
    // A port that will not take the settings stays open with the ones it has.
    if (!ConfigureDemoPort(*m_Port, m_Timeouts)) return 0;
    Trace(trace_label::kOpened, nullptr, 0);
    return 1;
}

void CCctDriver::cctClose() {
    if (!m_Port) return;
    if (m_Port->Close()) {
        m_Port.reset();
        Trace(trace_label::kClosed, nullptr, 0);
    } else {
        Trace(trace_label::kCloseFailed, nullptr, 0);
    }
}

int CCctDriver::Transact(uint8_t header, const uint8_t* data, uint8_t length, uint8_t* reply, uint8_t& replyLength,
                         size_t replyCapacity, uint32_t pauseMs) {
    if (length > MAX_REQUEST_DATA) return kTransactRequestTooLong;
    m_TxFrame[kCctDestination] = m_DeviceAddress;
    m_TxFrame[kCctLength] = length;
    m_TxFrame[kCctSource] = HOST_ADDRESS;
    m_TxFrame[kCctHeader] = header;
    if (length != 0) std::memcpy(m_TxFrame + kCctData, data, length);
    m_TxFrame[kCctData + length] = CctChecksum(m_TxFrame, kCctData + length);

    replyLength = 0;
    const int result = Exchange(pauseMs, replyCapacity);
    if (result != kExchangeOk) {
        const uint8_t code = static_cast<uint8_t>(result);
        Trace(trace_label::kFailed, &code, 1);
        AwaitQuietLine();
        cctClose();
        return -result;
    }
    const uint8_t n = m_RxFrame[kCctLength];
    if (n != 0) std::memcpy(reply, m_RxFrame + kCctData, n);
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
    if (!m_Port) return;
    std::vector<uint8_t> discarded;
    const auto take = [this, &discarded](const uint8_t* bytes, size_t n) {
        discarded.insert(discarded.end(), bytes, bytes + n);
        if (discarded.size() < kCctFrameSize) return;
        Trace(trace_label::kDiscarded, discarded.data(), discarded.size());
        discarded.clear();
    };
    platform::AwaitQuietLine(*m_Port, {kQuietGapMs, kQuietBoundMs, 1}, take);
    if (!discarded.empty()) Trace(trace_label::kDiscarded, discarded.data(), discarded.size());
}

int CCctDriver::Exchange(uint32_t pauseMs, size_t replyCapacity) {
    if (!m_Port) cctOpen();
    if (!m_Port) return kExchangeNotOpen;

    const size_t frameLength = kCctFrameOverhead + m_TxFrame[kCctLength];
    size_t written = 0;
    if (!m_Port->Write(m_TxFrame, frameLength, written)) return kExchangeCallFailed;
    Trace(trace_label::kSent, m_TxFrame, written);
    if (written != frameLength) return kExchangeWriteShort;

    // The one-wire bus hands every byte sent straight back.
    size_t got = 0;
    if (!m_Port->Read(m_RxFrame, written, got)) return kExchangeCallFailed;
    Trace(trace_label::kEcho, m_RxFrame, got);
    if (got < written) return kExchangeEchoShort;
    if (std::memcmp(m_RxFrame, m_TxFrame, written) != 0) return kExchangeEchoDiffers;

    if (pauseMs != 0) platform::SleepMilliseconds(pauseMs);
    return ReadReply(replyCapacity);
}

int CCctDriver::ReadReply(size_t replyCapacity) {
    size_t got = 0;
    if (!m_Port->Read(m_RxFrame, kCctHeadLength, got)) return kExchangeCallFailed;
    Trace(trace_label::kReply, m_RxFrame, got);
    if (got < kCctHeadLength) return kExchangeHeadShort;

    const uint8_t n = m_RxFrame[kCctLength];
    // The frame holds 95 data bytes; a longer announcement is refused before
    // anything more is read.
    if (n > MAX_REQUEST_DATA || n > replyCapacity) return kExchangeReplyTooLong;
    if (n != 0) {
        if (!m_Port->Read(m_RxFrame + kCctHeadLength, n, got)) {
            Trace(trace_label::kReply, m_RxFrame + kCctHeadLength, got);
            return kExchangeCallFailed;
        }
        if (got < n) return kExchangeReplyShort;
        Trace(trace_label::kReply, m_RxFrame + kCctHeadLength, got);
    }
    return CctSumIsZero(m_RxFrame, kCctFrameOverhead + n) ? kExchangeOk : kExchangeBadChecksum;
}
