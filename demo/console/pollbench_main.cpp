// pollbench: Pollbench's discovery, identification, polling and teaching on
// a terminal.
#include "demo/console/console_args.h"
#include "demo/console/console_commands.h"
#include "demo/console/console_sniff.h"
#include "demo/console/console_wire_commands.h"

#if POLLBENCH_WITH_SIM
#include "demo/console/console_sim.h"
#include "sim/pty/line_options.h"
#include "sim/standard/standard_options.h"
#endif

#include "product_version.h"

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kUsageError = 2;

void OnInterrupt(int) { g_interrupted = 1; }

void PrintUsage(std::FILE* to) {
    std::fputs(PollbenchUsage(), to);
#if POLLBENCH_WITH_SIM
    std::fputs(sim::StandardOptionsHelp(), to);
    std::fputs(sim::LineOptionsHelp(), to);
#endif
}

int Run(const PollbenchArgs& args) {
    if (args.command == "search") return RunSearch(args, stdout);
    if (args.command == "identify") return RunIdentify(args, stdout);
    if (args.command == "poll") return RunPoll(args, stdout);
    if (args.command == "scan-bus") return RunScanBus(args);
    if (args.command == "sniff") return RunSniff(args, stdout);
    return RunTeach(args, stdout);
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (!words.empty() && words[0] == "--version") {
        std::printf("pollbench (Pollbench) %s\n", POLLBENCH_VERSION_TEXT);
        return 0;
    }
    if (!words.empty() && (words[0] == "--help" || words[0] == "-h")) {
        PrintUsage(stdout);
        return 0;
    }
    PollbenchArgs args;
    std::string error;
    if (!ParsePollbenchArgs(words, args, error)) {
        // The reason alone: the whole usage would bury it.
        std::fprintf(stderr, "pollbench: %s\nsee pollbench --help\n", error.c_str());
        return kUsageError;
    }
    if (args.command == "decode") return RunDecode(args);
    if (!StartTrace(args)) return 1;
    std::signal(SIGINT, OnInterrupt);
#if POLLBENCH_WITH_SIM
    ConsoleSim sim;
    if (args.sim && !sim.Start(args)) {
        std::fprintf(stderr, "pollbench: cannot open a pty for the virtual acceptor\n");
        return 1;
    }
#endif
    return Run(args);
}
