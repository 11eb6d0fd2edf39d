// `pollbench --sim`: a virtual standard acceptor served in this process on
// a pty, which the command then uses as its port. POSIX only.
#pragma once

#include "demo/console/console_args.h"

#include <memory>

namespace sim {
class StandardLine;
}

class ConsoleSim {
public:
    ConsoleSim();
    ~ConsoleSim();
    ConsoleSim(const ConsoleSim&) = delete;
    ConsoleSim& operator=(const ConsoleSim&) = delete;

    // Starts the device of `args` and points `args` (and the port search) at
    // it; false when no pty could be had.
    bool Start(PollbenchArgs& args);

private:
    std::unique_ptr<sim::StandardLine> line_;
};
