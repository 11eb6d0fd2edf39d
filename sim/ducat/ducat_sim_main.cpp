// ducat-sim: the virtual acceptor of Ducat Console on a pty, for the
// Windows program under Wine, for `ducat --port`, or for a person.
#include "sim/ducat/ducat_sim_options.h"
#include "sim/pty/pty_server.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <pthread.h>
#include <string>
#include <vector>

namespace {

int Usage(const char* error) {
    if (error != nullptr) std::fprintf(stderr, "ducat-sim: %s\n", error);
    std::fprintf(error ? stderr : stdout,
                 "usage: ducat-sim [--tap] [OPTIONS]\n"
                 "  --tap                   a second pty that hears every byte on the bus (LINK-tap)\n%s",
                 sim::DucatSimOptionsHelp());
    return error ? 2 : 0;
}

// Blocks SIGINT and SIGTERM in every thread; main then waits for them.
sigset_t BlockStopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    return set;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    sim::DucatSimOptions options;
    sim::ServerOptions serverOptions;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") return Usage(nullptr);
        if (args[i] == "--tap") {
            serverOptions.tap = true;
            continue;
        }
        std::string error;
        const sim::OptionParse parse = sim::ParseDucatSimOption(args, i, options, error);
        if (parse == sim::OptionParse::Bad) return Usage(error.c_str());
        if (parse == sim::OptionParse::NotMine) return Usage(("unknown option " + args[i]).c_str());
    }
    const sigset_t stopSignals = BlockStopSignals();

    sim::DucatAcceptor acceptor;
    sim::ApplyDucatSimOptions(options, acceptor);
    serverOptions.line = options.line;
    sim::PtyServer server(acceptor, serverOptions);
    if (!server.Ok()) {
        std::fprintf(stderr, "ducat-sim: cannot open a pty: %s\n", std::strerror(errno));
        return 1;
    }
    const bool linked = !options.link.empty() && server.LinkAs(options.link);
    server.Start();
    std::printf("%s\n", server.HostPath().c_str());
    if (linked) std::printf("linked as %s\n", options.link.c_str());
    if (serverOptions.tap) std::printf("tap: %s\n", server.TapPath().c_str());
    std::printf("acceptor at address %d, serial %u \"%s\"; Ctrl+C ends\n", acceptor.identity.address,
                static_cast<unsigned>(acceptor.identity.serial), acceptor.identity.serialText.c_str());
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.Stop();
    const sim::LineCounters carried = server.Counters();
    std::printf("%llu bytes in, %llu bytes out\n", static_cast<unsigned long long>(carried.toDevice),
                static_cast<unsigned long long>(carried.toHost));
    if (carried.flippedToDevice + carried.flippedToHost + carried.faultsFired != 0) {
        std::printf("noise flipped %llu bytes in, %llu bytes out; %llu line faults fired\n",
                    static_cast<unsigned long long>(carried.flippedToDevice),
                    static_cast<unsigned long long>(carried.flippedToHost),
                    static_cast<unsigned long long>(carried.faultsFired));
    }
    return 0;
}
