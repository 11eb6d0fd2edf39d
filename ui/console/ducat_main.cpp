// ducat: Ducat Console without a window. It drives the very same service
// thread, mailbox and message queue as the window does.
#include "commands/acceptor_commands.h"
#include "link/command_mailbox.h"
#include "link/log_queue.h"
#include "ui/console/console_commands.h"
#include "ui/console/console_options.h"
#include "ui/console/console_settings.h"
#include "ui/console/console_wire.h"
#include "ui/console/run_driver.h"

#if DUCAT_CONSOLE_SIM
#include "ui/console/sim/in_process_acceptor.h"
#include "ui/console/sim/sim_command_line.h"
#endif

#include "product_version.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

int Usage(const MoreConsoleOptions* more, const std::string& error) {
    std::fprintf(stderr, "ducat: %s\n", error.c_str());
    std::fputs(ConsoleUsage(more).c_str(), stderr);
    return kExitUsage;
}

int Help(const MoreConsoleOptions* more) {
    std::fputs(ConsoleUsage(more).c_str(), stdout);
    return kExitSuccess;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
#if DUCAT_CONSOLE_SIM
    SimCommandLine simLine;
    MoreConsoleOptions* const more = &simLine;
#else
    // Without ptys there is no --sim: the line knows only the console's options.
    MoreConsoleOptions* const more = nullptr;
#endif
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) return Help(more);
    if (!args.empty() && args[0] == "--version") {
        std::printf("ducat (Ducat Console) %s\n", DUCAT_VERSION_TEXT);
        return kExitSuccess;
    }
    ConsoleOptions options;
    std::string error;
    if (!ParseConsoleOptions(args, options, error, more)) return Usage(more, error);

    if (!StartConsoleTrace(options)) return kExitFailure;
    LogQueueInit();
    RegisterAcceptorCommands();
    InstallInterruptHandler();

    std::string simPort;
#if DUCAT_CONSOLE_SIM
    InProcessAcceptor sim;
    if (simLine.sim) {
        if (!sim.Start(simLine.options, error)) return Usage(more, error);
        simPort = sim.PortName();
    }
#endif
    if (!ApplyConsoleSettings(options, simPort, error)) return Usage(more, error);
#if DUCAT_CONSOLE_SIM
    if (simLine.sim) sim.AnswerAt(Mailbox.bDeviceAddress.load());
#endif
    return RunConsoleCommand(options);
}
