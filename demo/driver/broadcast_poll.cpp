#include "demo/driver/broadcast_poll.h"

#include "platform/clock.h"

#include <algorithm>

namespace {

void Trace(const CCctDriver& driver, const char* label, const uint8_t* bytes, size_t count) {
    if (driver.trace) driver.trace(label, bytes, count);
}

// Reads what comes until `windowMs` has passed, each read limited to the
// time left.
bool ListenFor(platform::SerialPort& port, platform::Timeouts limits, uint32_t windowMs, std::vector<uint8_t>& heard) {
    limits.readInterval = 0;
    limits.readTotalMultiplier = 0;
    const uint64_t end = platform::SteadyMilliseconds() + windowMs;
    uint8_t buffer[kCctFrameSize];
    while (heard.size() < kMaxHeardBytes) {
        const uint64_t now = platform::SteadyMilliseconds();
        if (now >= end) break;
        limits.readTotalConstant = static_cast<uint32_t>(end - now);
        size_t got = 0;
        if (!port.SetTimeouts(limits) || !port.Read(buffer, sizeof buffer, got)) return false;
        heard.insert(heard.end(), buffer, buffer + std::min(got, kMaxHeardBytes - heard.size()));
    }
    return true;
}

std::vector<uint8_t> Polls(const std::vector<uint8_t>& destinations, uint8_t header) {
    std::vector<uint8_t> polls;
    for (const uint8_t destination : destinations) {
        uint8_t frame[kCctFrameOverhead] = {destination, 0, HOST_ADDRESS, header, 0};
        frame[kCctData] = CctChecksum(frame, kCctData);
        polls.insert(polls.end(), frame, frame + kCctFrameOverhead);
    }
    return polls;
}

int PollAndListen(CCctDriver& driver, platform::SerialPort& port, const std::vector<uint8_t>& polls,
                  uint32_t windowMs, std::vector<uint8_t>& heard) {
    size_t written = 0;
    if (!port.Write(polls.data(), polls.size(), written)) return kExchangeCallFailed;
    Trace(driver, trace_label::kSent, polls.data(), written);
    if (written != polls.size()) return kExchangeWriteShort;
    std::vector<uint8_t> echo(polls.size());
    size_t got = 0;
    if (!port.Read(echo.data(), echo.size(), got)) return kExchangeCallFailed;
    Trace(driver, trace_label::kEcho, echo.data(), got);
    if (got < echo.size()) return kExchangeEchoShort;
    const bool echoHeld = echo == polls;
    if (!echoHeld) heard.insert(heard.end(), echo.begin(), echo.end());
    const size_t before = heard.size();
    const bool read = ListenFor(port, driver.timeouts, windowMs, heard);
    if (heard.size() > before) Trace(driver, trace_label::kReply, heard.data() + before, heard.size() - before);
    if (!read) return kExchangeCallFailed;
    return echoHeld ? kExchangeOk : kExchangeEchoDiffers;
}

} // namespace

int ListenAfterPolls(CCctDriver& driver, const std::vector<uint8_t>& destinations, uint8_t header,
                     uint32_t windowMs, std::vector<uint8_t>& heard) {
    driver.cctClose();
    std::unique_ptr<platform::SerialPort> port = driver.openPort(driver.PortDevice());
    if (!port) return kExchangeNotOpen;
    port->Purge(platform::kPurgeRxAbort | platform::kPurgeRxClear);
    int result = kExchangeCallFailed;
    if (ConfigureDemoPort(*port, driver.timeouts)) {
        result = PollAndListen(driver, *port, Polls(destinations, header), windowMs, heard);
    }
    if (result != kExchangeOk) {
        const uint8_t code = static_cast<uint8_t>(result);
        Trace(driver, trace_label::kFailed, &code, 1);
    }
    port->Close();
    return result;
}

int ListenAfterPoll(CCctDriver& driver, uint8_t destination, uint8_t header, uint32_t windowMs,
                    std::vector<uint8_t>& heard) {
    return ListenAfterPolls(driver, {destination}, header, windowMs, heard);
}
