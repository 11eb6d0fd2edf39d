// The serial port every test plays a line on: a port in memory over a
// script (what the line holds and does) and a log (what was done to it).
// Each write is answered with the next scripted reply, or by a reply source
// that decides the whole write (a fuzz input, a virtual device); a one-wire
// line hands every byte written back first. A read returns what is waiting,
// as a read that ran into its time limit would. Every call can be made to
// fail. Ports opened again over the same script go on with its bytes and
// settings, as a driver keeps them.
#pragma once

#include "platform/serial_port.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

// What the line does with one write.
struct FakeWriteAnswer {
    bool fails = false;          // the call fails; nothing goes out
    size_t taken = SIZE_MAX;     // at most this many bytes go out
    bool echoed = true;          // a one-wire line hands the bytes back...
    bool echoChanged = false;    // ...with the first one changed
    std::vector<uint8_t> reply;  // then what the device answers
    uint32_t lineErrors = 0;     // what the next ClearErrors reports
};

// Answers each write in place of the scripted replies.
using FakeReplySource = std::function<FakeWriteAnswer(const uint8_t* bytes, size_t n)>;

struct FakePortScript {
    // The answers. Each write takes the next reply (an empty one is
    // silence, none left too), unless a reply source is given.
    std::deque<std::vector<uint8_t>> replies;
    FakeReplySource replySource;
    bool echo = false; // one-wire line: the bytes written come back before the reply

    // The line's state, which the port changes: the bytes waiting to be
    // read (as if they had arrived), and the driver's settings: GetLine
    // and GetTimeouts report them, SetLine and SetTimeouts replace them.
    std::deque<uint8_t> pending;
    platform::LineSettings line;
    platform::Timeouts timeouts;
    // Results of successive ClearErrors calls, 0 once used up; the errors
    // the reply source raised are added to the next one.
    std::deque<uint32_t> lineErrors;
    uint32_t raisedLineErrors = 0;

    // Failure switches; a failed call (or opening) leaves systemError in
    // LastError().
    bool failOpen = false;
    bool failGetLine = false;
    bool failSetLine = false;
    bool failSetTimeouts = false;
    bool failRead = false;
    bool failWrite = false;
    bool failClose = false; // the port stays open
    uint32_t systemError = 0x1F;
    size_t writeLimit = SIZE_MAX; // a write that succeeds takes at most this many bytes
};

struct FakePortLog {
    std::vector<std::string> calls; // "GetLine", "Purge:0F", "Read:2", "Write:5", "Close", ...
    std::vector<std::vector<uint8_t>> writes; // the bytes each write took
    std::vector<size_t> readSizes;            // the bytes each read asked for
    int clearErrorsCalls = 0;
    int closes = 0; // close calls, failed ones too
    std::vector<std::string> openedNames; // every opening asked for, refused ones too
    int openings = 0;                     // ports handed out
};

class FakeSerialPort final : public platform::SerialPort {
public:
    // `onClose` runs when the port closes (a test's look at the moment).
    FakeSerialPort(FakePortScript& script, FakePortLog& log, std::function<void()> onClose = {})
        : script_(script), log_(log), onClose_(std::move(onClose)) {}

    bool GetLine(platform::LineSettings& settings) override;
    bool SetLine(const platform::LineSettings& settings) override;
    bool GetTimeouts(platform::Timeouts& timeouts) override;
    bool SetTimeouts(const platform::Timeouts& timeouts) override;
    bool Purge(uint32_t flags) override;
    bool ClearErrors(uint32_t& errors) override;
    bool Read(void* buffer, size_t n, size_t& got) override;
    bool Write(const void* buffer, size_t n, size_t& written) override;
    bool Close() override;
    bool IsOpen() const override { return open_; }
    uint32_t LastError() const override { return lastError_; }

private:
    bool Fail();
    FakeWriteAnswer Answer(const uint8_t* bytes, size_t n);

    FakePortScript& script_;
    FakePortLog& log_;
    std::function<void()> onClose_;
    bool open_ = true;
    uint32_t lastError_ = 0;
};

// An opening of `name` as both openers make it: logged, then refused
// (null, with the script's systemError in `error`) or a port.
std::unique_ptr<FakeSerialPort> OpenFakeSerialPort(FakePortScript& script, FakePortLog& log, const std::string& name,
                                                   uint32_t& error, std::function<void()> onClose = {});

} // namespace testing_support
