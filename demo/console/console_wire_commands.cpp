#include "demo/console/console_wire_commands.h"

#include "demo/console/console_report.h"
#include "demo/console/console_run.h"
#include "demo/driver/bus_scan.h"
#include "demo/trace/cct_capture_decode.h"
#include "demo/trace/program_trace.h"

#include <cstdio>

bool StartTrace(const PollbenchArgs& args) {
    if (args.traceFile.empty()) return true;
    std::string error;
    if (StartProgramTrace(args.traceFile, error)) return true;
    std::fprintf(stderr, "pollbench: %s\n", error.c_str());
    return false;
}

int RunDecode(const PollbenchArgs& args) {
    const int bad = DecodeCctCapture(args.file, stdout, stderr);
    return bad == 0 ? 0 : 1;
}

int RunScanBus(const PollbenchArgs& args) {
    CDemoCore core;
    uint32_t timerMs = 0;
    PrepareCore(core, args, timerMs);
    {
        platform::RepeatedLines lines(stdout);
        if (!OpenPortOrSay(core, args, lines)) return 1;
    }
    const std::string everyAddress =
        "addresses " + std::to_string(kFirstDeviceAddress) + " to " + std::to_string(kLastDeviceAddress);
    Print(args.thorough ? "scanning " + everyAddress + "\n" : "broadcast address poll\n");
    const BusScanResult result = ScanBus(core.driver, args.thorough ? BusScanMode::Thorough : BusScanMode::Broadcast,
                                         [] { return g_interrupted != 0; });
    core.StopPolling();
    if (!args.thorough && result.byAddress) Print("no answer to the broadcast; scanned " + everyAddress + "\n");
    for (const BusDevice& device : result.devices) Print(TerminalText(BusDeviceLine(device)) + "\n");
    char summary[96];
    std::snprintf(summary, sizeof summary, "%zu device(s) found; the scan took %.1f s%s\n", result.devices.size(),
                  static_cast<double>(result.elapsedMs) / 1000.0, result.stopped ? " (stopped)" : "");
    Print(summary);
    return result.devices.empty() || result.stopped ? 1 : 0;
}
