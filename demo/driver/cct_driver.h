// Pollbench's ccTalk driver: one device on one serial port, opened on first
// use and closed after every failed exchange.
#pragma once

#include "demo/driver/cct_protocol.h"
#include "demo/driver/cct_reply.h"
#include "demo/driver/pollbench_defaults.h"
#include "demo/driver/poll_counts.h"
#include "demo/driver/port_setup.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

// Results of one exchange; Transact returns them negated.
enum ExchangeResult : int {
    kExchangeOk = 0,
    kExchangeCallFailed = 1,    // a write or read call failed
    kExchangeEchoDiffers = 2,   // an echo byte differs from the byte sent
    kExchangeEchoShort = 3,     // fewer echo bytes than were written
    kExchangeHeadShort = 5,     // fewer than 5 bytes of reply head
    kExchangeReplyShort = 6,    // fewer reply bytes than the length byte announced
    kExchangeWriteShort = 7,    // fewer bytes written than the frame holds
    kExchangeNotOpen = 8,       // the port is closed and opening it failed
    kExchangeBadChecksum = 9,   // the reply's bytes do not sum to 0
    kExchangeReplyTooLong = 10, // the length byte announces more than 95 bytes
                                // or more than the caller's buffer holds
};
// The labels the driver hands its trace hook.
namespace trace_label {
constexpr char kOpenFailed[] = "?";
constexpr char kOpened[] = "cctOpen->ok";
constexpr char kClosed[] = "\r\ncctClose->ok\r\n";
constexpr char kCloseFailed[] = "\r\ncctClose->err\r\n";
constexpr char kSent[] = "\r\nTx: ";
constexpr char kEcho[] = "\r\nRx: ";
constexpr char kReply[] = " ";
constexpr char kFailed[] = "TxRxErr #";
constexpr char kDiscarded[] = "Discarded: "; // what came while waiting for a quiet line
} // namespace trace_label

// Transact's answer to a request of more than 95 data bytes.
constexpr int kTransactRequestTooLong = -20;

// After a failed exchange the line must stay silent this long (one ccTalk
// inter-byte gap) before the next request goes out; a line that never falls
// silent is given up on after the bound.
constexpr uint32_t kQuietGapMs = 50;
constexpr uint32_t kQuietBoundMs = 300;

// The last event counter seen in a buffered-credit reply, for the whole run.
extern uint8_t s_LastEventCounter;

class CCctDriver {
public:
    using TraceHook = std::function<void(const char* label, const uint8_t* bytes, size_t count)>;
    // Answers the device-reset question; true = reinitialise.
    using ResetQuestion = std::function<bool()>;

    // Traces through `traceHook` (none when empty): its maker hands it the
    // program's trace, the driver looks for none itself.
    explicit CCctDriver(TraceHook traceHook = {});
    virtual ~CCctDriver();
    CCctDriver(const CCctDriver&) = delete;
    CCctDriver& operator=(const CCctDriver&) = delete;

    int cctOpen();
    void cctClose();
    bool IsOpen() const { return port_ != nullptr; }
    // The device the port setting names ("" for a COM number that names no
    // port on this system), and whether its last open failed, with the
    // system's error number (0 when the opener gave none). A console words
    // its message from them; the driver itself prints nothing.
    std::string PortDevice() const { return DeviceName(); }
    bool LastOpenFailed() const { return openFailed_; }
    uint32_t LastOpenError() const { return openError_; }

    // Sends `header` with `length` data bytes and takes the reply's data into
    // `reply` (room for `replyCapacity` bytes). Returns the reply's data
    // length, -20 for a request longer than 95 bytes, or -k for exchange
    // result k.
    int Transact(uint8_t header, const uint8_t* data, uint8_t length, uint8_t* reply, uint8_t& replyLength,
                 size_t replyCapacity, uint32_t pauseMs = 0);
    int Request(uint8_t header, std::initializer_list<uint8_t> data, CctReply& reply);

    // Reads the event buffer: -1 reply unusable or reinitialisation asked,
    // 0 no new event, 1 new events in `counts`; the events lost are in
    // `counts` either way. A read that fails is tried twice more before the
    // reply counts as unusable.
    int PollEvents(PollCounts& counts);

    // The identification found the device with this serial number. When it
    // is the device whose counter was seen last, the next baseline resumes
    // that counter: what it skipped are events lost while not polled.
    void DeviceIdentified(uint32_t serialNumber);
    bool ResumesCounter() const { return counterKnown_ && counterSerial_ == deviceSerial_; }

    uint8_t portNumber = kDefaultComPort;
    std::string portName; // an explicit device name overrides the port number
    uint8_t deviceAddress = kDefaultDeviceAddress;
    int m_bCounterSeen = 0;

    TraceHook trace;                 // no trace when empty
    ResetQuestion askReinitialize;   // a Yes/No message box by default
    PortOpener openPort;             // the platform's serial port by default, keeping its error
    platform::Timeouts timeouts;     // the line's read and write limits

private:
    int Exchange(uint32_t pauseMs, size_t replyCapacity);
    int ReadBufferedCredit(CctReply& reply);
    void AwaitQuietLine();
    int ReadReply(size_t replyCapacity);
    void Trace(const char* label, const uint8_t* bytes, size_t count) const;
    std::string DeviceName() const;

    uint8_t txFrame_[kCctFrameSize] = {};
    uint8_t rxFrame_[kCctFrameSize] = {};
    std::unique_ptr<platform::SerialPort> port_;
    uint32_t deviceSerial_ = 0;  // the device identified last
    uint32_t counterSerial_ = 0; // the device s_LastEventCounter belongs to
    bool counterKnown_ = false;
    bool openFailed_ = false;
    uint32_t openError_ = 0; // set by the default opener
};
