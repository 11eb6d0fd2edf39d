#include "tests/support/fake_serial_port.h"

#include <algorithm>
#include <cstdio>

namespace testing_support {
namespace {

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(value));
    return text;
}

void Append(std::deque<uint8_t>& to, const uint8_t* bytes, size_t n) { to.insert(to.end(), bytes, bytes + n); }

} // namespace

bool FakeSerialPort::Fail() {
    lastError_ = script_.systemError;
    return false;
}

bool FakeSerialPort::GetLine(platform::LineSettings& settings) {
    log_.calls.push_back("GetLine");
    if (script_.failGetLine) return Fail();
    settings = script_.line;
    return true;
}

bool FakeSerialPort::SetLine(const platform::LineSettings& settings) {
    log_.calls.push_back("SetLine");
    if (script_.failSetLine) return Fail();
    script_.line = settings;
    return true;
}

bool FakeSerialPort::GetTimeouts(platform::Timeouts& timeouts) {
    log_.calls.push_back("GetTimeouts");
    timeouts = script_.timeouts;
    return true;
}

bool FakeSerialPort::SetTimeouts(const platform::Timeouts& timeouts) {
    log_.calls.push_back("SetTimeouts");
    if (script_.failSetTimeouts) return Fail();
    script_.timeouts = timeouts;
    return true;
}

bool FakeSerialPort::Purge(uint32_t flags) {
    log_.calls.push_back("Purge:" + Hex(flags));
    if (flags & (platform::kPurgeRxAbort | platform::kPurgeRxClear)) script_.pending.clear();
    return true;
}

bool FakeSerialPort::ClearErrors(uint32_t& errors) {
    log_.calls.push_back("ClearErrors");
    ++log_.clearErrorsCalls;
    errors = script_.raisedLineErrors;
    script_.raisedLineErrors = 0;
    if (!script_.lineErrors.empty()) {
        errors |= script_.lineErrors.front();
        script_.lineErrors.pop_front();
    }
    return true;
}

bool FakeSerialPort::Read(void* buffer, size_t n, size_t& got) {
    log_.calls.push_back("Read:" + std::to_string(n));
    log_.readSizes.push_back(n);
    got = 0;
    if (script_.failRead) return Fail();
    std::deque<uint8_t>& pending = script_.pending;
    got = std::min(n, pending.size());
    std::copy_n(pending.begin(), got, static_cast<uint8_t*>(buffer));
    pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(got));
    return true;
}

FakeWriteAnswer FakeSerialPort::Answer(const uint8_t* bytes, size_t n) {
    if (script_.replySource) return script_.replySource(bytes, n);
    FakeWriteAnswer scripted;
    if (!script_.replies.empty()) {
        scripted.reply = std::move(script_.replies.front());
        script_.replies.pop_front();
    }
    return scripted;
}

bool FakeSerialPort::Write(const void* buffer, size_t n, size_t& written) {
    log_.calls.push_back("Write:" + std::to_string(n));
    written = 0;
    if (script_.failWrite) return Fail();
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    const FakeWriteAnswer answered = Answer(bytes, n);
    script_.raisedLineErrors |= answered.lineErrors;
    if (answered.fails) return Fail();
    written = std::min({n, script_.writeLimit, answered.taken});
    log_.writes.emplace_back(bytes, bytes + written);
    std::deque<uint8_t>& pending = script_.pending;
    if (script_.echo && answered.echoed) {
        const size_t at = pending.size();
        Append(pending, bytes, written);
        if (answered.echoChanged && written > 0) pending[at] ^= 0x01;
    }
    Append(pending, answered.reply.data(), answered.reply.size());
    return true;
}

bool FakeSerialPort::Close() {
    log_.calls.push_back("Close");
    ++log_.closes;
    if (script_.failClose) return Fail();
    open_ = false;
    if (onClose_) onClose_();
    return true;
}

std::unique_ptr<FakeSerialPort> OpenFakeSerialPort(FakePortScript& script, FakePortLog& log, const std::string& name,
                                                   uint32_t& error, std::function<void()> onClose) {
    log.openedNames.push_back(name);
    error = 0;
    if (script.failOpen) {
        error = script.systemError;
        return nullptr;
    }
    ++log.openings;
    return std::make_unique<FakeSerialPort>(script, log, std::move(onClose));
}

} // namespace testing_support
