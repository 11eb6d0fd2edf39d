#include "demo/console/console_run.h"

#include "demo/console/console_port_notes.h"
#include "demo/core/settings.h"
#include "demo/trace/program_trace.h"

#include <cstdio>

volatile std::sig_atomic_t g_interrupted = 0;

void Print(platform::RepeatedLines& lines, const std::string& text) {
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.Put(text.substr(start, end - start));
    }
    if (start < text.size()) lines.Put(text.substr(start));
    lines.Flush();
}

void Print(const std::string& text) {
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
}

namespace {

// A COM port number goes the way the window's setting goes; a device name
// is opened as it is.
void SelectPort(CCctDriver& driver, const PollbenchArgs& args) {
    if (args.portNumber != 0) {
        g_ComPort = static_cast<uint8_t>(args.portNumber);
        driver.portName.clear();
    } else {
        driver.portName = args.port;
    }
}

} // namespace

void PrepareCore(CDemoCore& core, const PollbenchArgs& args, uint32_t& timerMs) {
    g_DeviceAddress = static_cast<uint8_t>(args.address);
    g_PollInterval = args.intervalMs;
    core.driver.trace = ProgramTraceHook();
    SelectPort(core.driver, args);
    core.hooks.setPollTimer = [&timerMs](uint32_t ms) { timerMs = ms; };
    core.StartPolling();
}

bool OpenPortOrSay(CDemoCore& core, const PollbenchArgs& args, platform::RepeatedLines& lines) {
    if (core.driver.IsOpen()) return true;
    core.driver.cctOpen();
    if (!core.driver.LastOpenFailed()) return true;
    Print(lines, PortOpenFailureLine(core.driver, args) + "\n");
    return false;
}
