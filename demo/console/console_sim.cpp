#include "demo/console/console_sim.h"

#include "sim/standard/standard_line.h"

#include <cstdio>
#include <cstdlib>

ConsoleSim::ConsoleSim() = default;
ConsoleSim::~ConsoleSim() = default;

bool ConsoleSim::Start(PollbenchArgs& args) {
    sim::ServerOptions server;
    server.line = args.simLine;
    line_ = std::make_unique<sim::StandardLine>(args.simConfig, server);
    if (!line_->Ok()) return false;
    args.port = line_->HostPath();
    args.portNumber = 0;
    // The port search looks at the names in CCTALK_PORTS first.
    const char* listed = std::getenv("CCTALK_PORTS");
    const std::string ports = args.port + (listed != nullptr && *listed != '\0' ? ":" + std::string(listed) : "");
    ::setenv("CCTALK_PORTS", ports.c_str(), 1);
    std::fprintf(stderr, "virtual acceptor at address %d on %s\n", args.simConfig.address, args.port.c_str());
    for (const uint8_t extra : args.simConfig.extraAddresses) {
        std::fprintf(stderr, "virtual acceptor at address %d on the same line\n", extra);
    }
    return true;
}
