// standard-sim: a virtual standard ccTalk coin acceptor on a pty, for
// Pollbench or any ccTalk host. Prints the device name and runs until
// interrupted.
#include "sim/pty/line_options.h"
#include "sim/standard/standard_line.h"
#include "sim/standard/standard_options.h"

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr uint32_t kWireBitsPerSecond = 9600;
constexpr int kSignalledCoinPosition = 1;
constexpr useconds_t kSignalLookUs = 50000;
volatile std::sig_atomic_t g_stop = 0;
// Only the handler counts the coins asked for, only the main loop those
// passed, so no signal is lost between a read and a write.
volatile std::sig_atomic_t g_coinsAsked = 0;
std::sig_atomic_t g_coinsPassed = 0;
volatile std::sig_atomic_t g_reset = 0;

void OnSignal(int) { g_stop = 1; }
void OnCoinSignal(int) { g_coinsAsked = g_coinsAsked + 1; }
void OnResetSignal(int) { g_reset = 1; }

// What the signals asked for since the last look, done on the device under
// the server's lock (never inside the handler).
void ServeSignals(sim::StandardLine& line) {
    while (g_coinsPassed != g_coinsAsked) {
        ++g_coinsPassed;
        line.WithDevice([](sim::StandardAcceptor& d) { d.InsertCoin(kSignalledCoinPosition); });
    }
    if (g_reset != 0) {
        g_reset = 0;
        line.WithDevice([](sim::StandardAcceptor& d) { d.ResetCounter(); });
    }
}

void Usage(std::FILE* to) {
    std::fprintf(to,
                 "usage: standard-sim [--link PATH] [--paced] [--tap] [DEVICE OPTIONS] [LINE OPTIONS]\n"
                 "  --link PATH          keep a symbolic link PATH to the device\n"
                 "  --paced              move bytes at the pace of a 9600 bit/s wire (--line-speed 9600)\n"
                 "  --tap                a second pty that hears every byte on the bus (PATH-tap with --link)\n"
                 "%s%s"
                 "SIGUSR1 passes a coin at position 1; SIGUSR2 resets the event counter to 0\n"
                 "(what a power cycle does).\n",
                 sim::StandardOptionsHelp(), sim::LineOptionsHelp());
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    sim::StandardConfig config;
    sim::ServerOptions server;
    std::string link;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            Usage(stdout);
            return 0;
        }
        std::string error;
        const auto result = sim::ParseStandardOption(args, i, config, error);
        if (result == sim::OptionResult::Taken) continue;
        if (result == sim::OptionResult::Bad || sim::TakeLineOption(args, i, server.line, error)) {
            if (error.empty()) continue;
            std::fprintf(stderr, "standard-sim: %s\n", error.c_str());
            return 2;
        }
        if (args[i] == "--link" && i + 1 < args.size()) {
            link = args[++i];
        } else if (args[i] == "--tap") {
            server.tap = true;
        } else if (args[i] == "--paced") {
            server.line.bitsPerSecond = kWireBitsPerSecond;
        } else {
            Usage(stderr);
            return 2;
        }
    }

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGUSR1, OnCoinSignal);
    std::signal(SIGUSR2, OnResetSignal);
    sim::StandardLine line(config, server);
    if (!line.Ok()) {
        std::fprintf(stderr, "standard-sim: cannot open a pty\n");
        return 1;
    }
    if (!link.empty() && !line.LinkAs(link)) {
        std::fprintf(stderr, "standard-sim: cannot make the link %s\n", link.c_str());
        return 1;
    }
    std::printf("standard acceptor at address %d on %s\n", config.address, line.HostPath().c_str());
    for (const uint8_t extra : config.extraAddresses) std::printf("standard acceptor at address %d on the same line\n", extra);
    if (!link.empty()) std::printf("link: %s\n", link.c_str());
    if (server.tap) std::printf("tap: %s\n", line.TapPath().c_str());
    std::fflush(stdout);
    while (g_stop == 0) {
        // A signal cuts the sleep short; one that comes just before it waits a moment.
        ::usleep(kSignalLookUs);
        ServeSignals(line);
    }
    return 0;
}
