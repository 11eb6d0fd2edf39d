// standard-sim: a virtual standard ccTalk coin acceptor on a pty, for
// Pollbench or any ccTalk host. Prints the device name and runs until
// interrupted.
#include "sim/standard_line.h"
#include "sim/standard_options.h"

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr uint32_t kWireBitsPerSecond = 9600;
volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) { g_stop = 1; }

void Usage() {
    std::fprintf(stderr,
                 "usage: standard-sim [--link PATH] [--paced] [DEVICE OPTIONS]\n"
                 "  --link PATH          keep a symbolic link PATH to the device\n"
                 "  --paced              move bytes at the pace of a 9600 bit/s wire\n"
                 "%s",
                 sim::StandardOptionsHelp());
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    sim::StandardConfig config;
    sim::ServerOptions server;
    std::string link;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string error;
        const auto result = sim::ParseStandardOption(args, i, config, error);
        if (result == sim::OptionResult::Taken) continue;
        if (result == sim::OptionResult::Bad) {
            std::fprintf(stderr, "standard-sim: %s\n", error.c_str());
            return 2;
        }
        if (args[i] == "--link" && i + 1 < args.size()) {
            link = args[++i];
        } else if (args[i] == "--paced") {
            server.pacedBitsPerSecond = kWireBitsPerSecond;
        } else {
            Usage();
            return 2;
        }
    }

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    sim::StandardLine line(config, server);
    if (!line.ok()) {
        std::fprintf(stderr, "standard-sim: cannot open a pty\n");
        return 1;
    }
    if (!link.empty() && !line.linkAs(link)) {
        std::fprintf(stderr, "standard-sim: cannot make the link %s\n", link.c_str());
        return 1;
    }
    std::printf("standard acceptor at address %d on %s\n", config.address, line.hostPath().c_str());
    for (const uint8_t extra : config.extraAddresses) std::printf("standard acceptor at address %d on the same line\n", extra);
    if (!link.empty()) std::printf("link: %s\n", link.c_str());
    std::fflush(stdout);
    while (g_stop == 0) ::pause();
    return 0;
}
