#include "demo/console/console_commands.h"

#include "demo/console/console_port_notes.h"
#include "demo/console/console_report.h"
#include "demo/console/console_wire_commands.h"
#include "demo/core/settings.h"
#include "demo/core/teach.h"
#include "demo/driver/port_scan.h"
#include "demo/driver/reset_question.h"
#include "platform/clock.h"
#include "platform/port_names.h"
#include "platform/terminal_lines.h"

#include <cstdio>

volatile std::sig_atomic_t g_Interrupted = 0;

namespace {

constexpr int kIdentifyTicks = 3;  // simple polls tried before giving up
constexpr uint32_t kSleepSliceMs = 10;

// Each line of `text` (lines end with "\n"); a line repeating the one
// before it is only counted.
void Print(platform::RepeatedLines& lines, const std::string& text) {
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.Put(text.substr(start, end - start));
    }
    if (start < text.size()) lines.Put(text.substr(start));
    lines.Flush();
}

// Sleeps `ms`, waking early on Ctrl+C.
void Wait(uint32_t ms) {
    for (uint32_t slept = 0; slept < ms && g_Interrupted == 0; slept += kSleepSliceMs) {
        platform::SleepMilliseconds(kSleepSliceMs);
    }
}

// A COM port number goes the way the window's setting goes; a device name
// is opened as it is.
void SelectPort(CCctDriver& driver, const PollbenchArgs& args) {
    if (args.portNumber != 0) {
        g_ComPort = static_cast<uint8_t>(args.portNumber);
        driver.m_PortName.clear();
    } else {
        driver.m_PortName = args.port;
    }
}

// The settings of the command line in the program's settings and the core.
void Prepare(CDemoCore& core, const PollbenchArgs& args, uint32_t& timerMs) {
    g_DeviceAddress = static_cast<uint8_t>(args.address);
    g_PollInterval = args.intervalMs;
    SelectPort(core.m_Driver, args);
    core.m_Hooks.setPollTimer = [&timerMs](uint32_t ms) { timerMs = ms; };
    core.StartPolling();
}

} // namespace

bool OpenPortOrSay(CDemoCore& core, const PollbenchArgs& args, platform::RepeatedLines& lines) {
    if (core.m_Driver.IsOpen()) return true;
    core.m_Driver.cctOpen();
    if (!core.m_Driver.LastOpenFailed()) return true;
    Print(lines, PortOpenFailureLine(core.m_Driver, args) + "\n");
    return false;
}

void PrepareCore(CDemoCore& core, const PollbenchArgs& args, uint32_t& timerMs) { Prepare(core, args, timerMs); }

// The search's own lines, then which device the port found is. Where a COM
// number is not the system's own name for the port, the list says first
// which device each number is.
int RunSearch(const PollbenchArgs& args, std::FILE* out) {
    platform::RepeatedLines lines(out);
    const std::vector<platform::PortName> candidates = DemoPortCandidates();
    for (const auto& port : candidates) {
        if (port.display != "COM" + std::to_string(port.number)) Print(lines, TerminalText(platform::DescribePort(port)) + "\n");
    }
    ScanOptions options;
    options.listPorts = [&candidates] { return candidates; };
    const int found = ScanPorts(static_cast<uint8_t>(args.address),
                                [&lines](const std::string& line) { Print(lines, TerminalText(line) + "\n"); }, options);
    for (const auto& port : candidates) {
        if (found != 0 && port.number == found) Print(lines, TerminalText(platform::DescribePort(port)) + "\n");
    }
    return found == 0 ? 1 : 0;
}

int RunIdentify(const PollbenchArgs& args, std::FILE* out) {
    platform::RepeatedLines lines(out);
    CDemoCore core;
    uint32_t timerMs = 0;
    Prepare(core, args, timerMs);
    if (!OpenPortOrSay(core, args, lines)) return 1;
    for (int tick = 0; tick < kIdentifyTicks && core.m_PrevState != kConnected && g_Interrupted == 0; ++tick) {
        if (tick != 0) Wait(timerMs);
        core.ConnectionTick();
    }
    if (core.m_PrevState != kConnected) {
        // A device that answered the simple poll has its own status to tell.
        if (!core.m_Status.empty()) Print(lines, StatusText(core) + "\nidentification failed\n");
        if (core.m_Status.empty() || core.m_Driver.LastOpenFailed()) Print(lines, UnreachableLine(core.m_Driver, args) + "\n");
        return 1;
    }
    Print(lines, StatusText(core) + "\n" + CoinTable(core));
    return 0;
}

int RunPoll(const PollbenchArgs& args, std::FILE* out) {
    platform::RepeatedLines lines(out);
    CDemoCore core;
    uint32_t timerMs = 0;
    bool changed = false;
    bool identified = false;
    Prepare(core, args, timerMs);
    PollSession session(core);
    if (!StartSessionReport(session, core, args)) return 1;
    core.m_Hooks.refresh = [&changed] { changed = true; };
    const bool answer = args.reinitialize;
    core.m_Driver.m_AskReinitialize = [answer, &lines] {
        Print(lines, std::string(kResetQuestionText) + (answer ? " Yes\n" : " No\n"));
        return answer;
    };
    std::string shownStatus;
    std::string shownNote; // why no device is connected, told once while it holds
    while (g_Interrupted == 0) {
        const int before = core.m_PrevState;
        changed = false;
        core.ConnectionTick();
        if (core.m_Status != shownStatus) {
            shownStatus = core.m_Status;
            Print(lines, StatusText(core) + "\n");
        }
        // Polling goes on trying, as the window's timer does: an adapter
        // plugged in, a port let go or a device switched on is found then.
        const std::string note = core.m_PrevState == kConnected ? "" : UnreachableLine(core.m_Driver, args);
        if (note != shownNote && !note.empty()) Print(lines, note + "\n");
        shownNote = note;
        if (before == kDisconnected && core.m_PrevState == kConnected) {
            identified = true;
            Print(lines, CoinTable(core));
        }
        for (const std::string& notice : session.TakeNotices()) Print(lines, notice + "\n");
        if (before == kConnected && core.m_PrevState == kConnected && changed) Print(lines, PollLine(core) + "\n");
        Wait(timerMs);
    }
    core.StopPolling();
    lines.CloseRun();
    const bool reported = EndSessionReport(session, args) == 0;
    // Polling ends only on Ctrl+C; it did its work if a device was found.
    if (!identified) std::fputs("pollbench: no device was identified\n", stderr);
    return identified && reported ? 0 : 1;
}

int RunTeach(const PollbenchArgs& args, std::FILE* out) {
    platform::RepeatedLines lines(out);
    CDemoCore core;
    uint32_t timerMs = 0;
    Prepare(core, args, timerMs);
    if (!OpenPortOrSay(core, args, lines)) return 1;
    CTeachCore teach(core.m_Driver);
    teach.StartOrAbort(args.channel, args.enhanced);
    char started[48];
    std::snprintf(started, sizeof started, "teaching, channel byte 0x%02X\n", teach.m_Channel);
    Print(lines, started);
    std::string shown;
    while (teach.m_bTeaching == 1 && g_Interrupted == 0) {
        Wait(kTeachTickMs);
        if (g_Interrupted != 0) break;
        teach.Tick();
        if (teach.m_StatusText != shown) {
            shown = teach.m_StatusText;
            Print(lines, TerminalText(shown) + "\n");
        }
    }
    if (g_Interrupted != 0) {
        teach.Close();
        Print(lines, "aborted\n");
        return 1;
    }
    return teach.m_TeachStatus == kTeachComplete ? 0 : 1;
}
