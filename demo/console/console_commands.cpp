#include "demo/console/console_commands.h"

#include "demo/console/console_port_notes.h"
#include "demo/console/console_report.h"
#include "demo/console/console_session_report.h"
#include "demo/core/teach.h"
#include "demo/driver/port_scan.h"
#include "demo/driver/reset_question.h"
#include "platform/clock.h"
#include "platform/port_names.h"
#include "platform/terminal_lines.h"

#include <cstdio>

namespace {

constexpr int kIdentifyTicks = 3;  // simple polls tried before giving up
constexpr uint32_t kSleepSliceMs = 10;

// Sleeps `ms`, waking early on Ctrl+C.
void Wait(uint32_t ms) {
    for (uint32_t slept = 0; slept < ms && g_interrupted == 0; slept += kSleepSliceMs) {
        platform::SleepMilliseconds(kSleepSliceMs);
    }
}

} // namespace

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
    PrepareCore(core, args, timerMs);
    if (!OpenPortOrSay(core, args, lines)) return 1;
    for (int tick = 0; tick < kIdentifyTicks && core.prevState != kConnected && g_interrupted == 0; ++tick) {
        if (tick != 0) Wait(timerMs);
        core.ConnectionTick();
    }
    if (core.prevState != kConnected) {
        // A device that answered the simple poll has its own status to tell.
        if (!core.status.empty()) Print(lines, StatusText(core) + "\nidentification failed\n");
        if (core.status.empty() || core.driver.LastOpenFailed()) Print(lines, UnreachableLine(core.driver, args) + "\n");
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
    PrepareCore(core, args, timerMs);
    PollSession session(core);
    if (!StartSessionReport(session, core, args)) return 1;
    core.hooks.refresh = [&changed] { changed = true; };
    const bool answer = args.reinitialize;
    core.driver.askReinitialize = [answer, &lines] {
        Print(lines, std::string(kResetQuestionText) + (answer ? " Yes\n" : " No\n"));
        return answer;
    };
    std::string shownStatus;
    std::string shownNote; // why no device is connected, told once while it holds
    while (g_interrupted == 0) {
        const int before = core.prevState;
        changed = false;
        core.ConnectionTick();
        if (core.status != shownStatus) {
            shownStatus = core.status;
            Print(lines, StatusText(core) + "\n");
        }
        // Polling goes on trying, as the window's timer does: an adapter
        // plugged in, a port let go or a device switched on is found then.
        const std::string note = core.prevState == kConnected ? "" : UnreachableLine(core.driver, args);
        if (note != shownNote && !note.empty()) Print(lines, note + "\n");
        shownNote = note;
        if (before == kDisconnected && core.prevState == kConnected) {
            identified = true;
            Print(lines, CoinTable(core));
        }
        for (const std::string& notice : session.TakeNotices()) Print(lines, notice + "\n");
        if (before == kConnected && core.prevState == kConnected && changed) Print(lines, PollLine(core) + "\n");
        Wait(timerMs);
    }
    core.StopPolling();
    lines.CloseRun();
    const bool reported = EndSessionReport(session, core, args) == 0;
    // Polling ends only on Ctrl+C; it did its work if a device was found.
    if (!identified) std::fputs("pollbench: no device was identified\n", stderr);
    return identified && reported ? 0 : 1;
}

int RunTeach(const PollbenchArgs& args, std::FILE* out) {
    platform::RepeatedLines lines(out);
    CDemoCore core;
    uint32_t timerMs = 0;
    PrepareCore(core, args, timerMs);
    if (!OpenPortOrSay(core, args, lines)) return 1;
    CTeachCore teach(core.driver);
    teach.StartOrAbort(args.channel, args.enhanced);
    char started[48];
    std::snprintf(started, sizeof started, "teaching, channel byte 0x%02X\n", teach.channel);
    Print(lines, started);
    std::string shown;
    while (teach.teaching == 1 && g_interrupted == 0) {
        Wait(kTeachTickMs);
        if (g_interrupted != 0) break;
        teach.Tick();
        if (teach.statusText != shown) {
            shown = teach.statusText;
            Print(lines, TerminalText(shown) + "\n");
        }
    }
    if (g_interrupted != 0) {
        teach.Close();
        Print(lines, "aborted\n");
        return 1;
    }
    return teach.teachStatus == kTeachComplete ? 0 : 1;
}
