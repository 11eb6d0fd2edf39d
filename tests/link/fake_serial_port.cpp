#include "fake_serial_port.h"

#include "link/log_queue.h"
#include "tests/support/run_environment_parts.h"

#include <algorithm>
#include <cstdio>

namespace testing_support {
namespace {

FakePortOpener* g_active = nullptr;

std::unique_ptr<platform::SerialPort> OpenFake(const std::string& name, uint32_t& error) {
    FakePortOpener& opener = *g_active;
    ++opener.openings;
    opener.lastName = name;
    error = opener.refuseWith;
    if (opener.refuseWith != 0) return nullptr;
    return std::make_unique<FakeSerialPort>(opener.script, opener.log);
}

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(value));
    return text;
}

} // namespace

bool FakeSerialPort::fail() {
    lastError_ = script_.systemError;
    return false;
}

bool FakeSerialPort::getLine(platform::LineSettings& settings) {
    log_.calls.push_back("getLine");
    if (script_.failGetLine) return fail();
    settings = script_.driverLine;
    return true;
}

bool FakeSerialPort::setLine(const platform::LineSettings& settings) {
    log_.calls.push_back("setLine");
    if (script_.failSetLine) return fail();
    log_.lineSet = settings;
    return true;
}

bool FakeSerialPort::getTimeouts(platform::Timeouts& timeouts) {
    log_.calls.push_back("getTimeouts");
    timeouts = log_.timeoutsSet;
    return true;
}

bool FakeSerialPort::setTimeouts(const platform::Timeouts& timeouts) {
    log_.calls.push_back("setTimeouts");
    if (script_.failSetTimeouts) return fail();
    log_.timeoutsSet = timeouts;
    return true;
}

bool FakeSerialPort::purge(uint32_t flags) {
    log_.calls.push_back("purge:" + Hex(flags));
    if (flags & (platform::kPurgeRxAbort | platform::kPurgeRxClear)) pending_.clear();
    return true;
}

bool FakeSerialPort::clearErrors(uint32_t& errors) {
    log_.calls.push_back("clearErrors");
    ++log_.clearErrorsCalls;
    errors = 0;
    if (!script_.lineErrors.empty()) {
        errors = script_.lineErrors.front();
        script_.lineErrors.pop_front();
    }
    return true;
}

bool FakeSerialPort::read(void* buffer, size_t n, size_t& got) {
    log_.calls.push_back("read:" + std::to_string(n));
    got = std::min(n, pending_.size());
    auto* out = static_cast<uint8_t*>(buffer);
    for (size_t i = 0; i < got; ++i) {
        out[i] = pending_.front();
        pending_.pop_front();
    }
    return true;
}

bool FakeSerialPort::write(const void* buffer, size_t n, size_t& written) {
    log_.calls.push_back("write:" + std::to_string(n));
    written = 0;
    if (script_.failWrite) return fail();
    const auto* in = static_cast<const uint8_t*>(buffer);
    written = std::min(n, script_.writeLimit);
    log_.writes.emplace_back(in, in + written);
    if (!script_.replies.empty()) {
        pending_.insert(pending_.end(), script_.replies.front().begin(), script_.replies.front().end());
        script_.replies.pop_front();
    }
    return true;
}

bool FakeSerialPort::close() {
    log_.calls.push_back("close");
    log_.closed = true;
    log_.queuedAtClose = LogQueueCount();
    return true;
}

FakePortOpener::FakePortOpener() {
    g_active = this;
    UsePortOpener(&OpenFake);
}

FakePortOpener::~FakePortOpener() {
    UsePortOpener(&platform::OpenSerialPort);
    g_active = nullptr;
}

} // namespace testing_support
