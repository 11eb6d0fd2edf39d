// `ducat --sim`: a virtual acceptor served on a pty inside the console
// process, whose host side becomes the port of every run. POSIX only.
#pragma once

#include "sim/ducat/ducat_sim_options.h"

#include <memory>
#include <string>

namespace sim {
class DucatAcceptor;
class PtyServer;
} // namespace sim

class InProcessAcceptor {
public:
    InProcessAcceptor();
    ~InProcessAcceptor();
    InProcessAcceptor(const InProcessAcceptor&) = delete;
    InProcessAcceptor& operator=(const InProcessAcceptor&) = delete;

    // Starts the acceptor; false (with `error`) when no pty could be had.
    bool Start(const sim::DucatSimOptions& options, std::string& error);
    const std::string& PortName() const;
    // The address the acceptor answers at (unless its options named one).
    void AnswerAt(uint32_t address);

private:
    std::unique_ptr<sim::DucatAcceptor> acceptor_;
    std::unique_ptr<sim::PtyServer> server_;
    bool addressGiven_ = false;
};
