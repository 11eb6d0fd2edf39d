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
#include "ui/console/in_process_acceptor.h"
#endif

#include "product_version.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

int Usage(const std::string& error) {
    std::fprintf(stderr, "ducat: %s\n", error.c_str());
    std::fprintf(stderr, "%s%s", ConsoleUsage(), sim::DucatSimOptionsHelp());
    return kExitUsage;
}

int Help() {
    std::printf("%s%s", ConsoleUsage(), sim::DucatSimOptionsHelp());
    return kExitSuccess;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) return Help();
    if (!args.empty() && args[0] == "--version") {
        std::printf("ducat (Ducat Console) %s\n", DUCAT_VERSION_TEXT);
        return kExitSuccess;
    }
    ConsoleOptions options;
    std::string error;
    if (!ParseConsoleOptions(args, options, error)) return Usage(error);

    if (!StartConsoleTrace(options)) return kExitFailure;
    LogQueueInit();
    RegisterAcceptorCommands();
    InstallInterruptHandler();

    std::string simPort;
#if DUCAT_CONSOLE_SIM
    InProcessAcceptor sim;
    if (options.sim) {
        if (!sim.start(options.simOptions, error)) return Usage(error);
        simPort = sim.portName();
    }
#else
    if (options.sim) return Usage("--sim needs a pty: not on this system");
#endif
    if (!ApplyConsoleSettings(options, simPort, error)) return Usage(error);
#if DUCAT_CONSOLE_SIM
    if (options.sim) sim.answerAt(Mailbox.bDeviceAddress.load());
#endif
    return RunConsoleCommand(options);
}
