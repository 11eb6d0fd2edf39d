// `ducat --sim [SIM OPTIONS]`: the part of the command line that asks for a
// virtual acceptor inside the console. Built only where ptys exist.
#pragma once

#include "sim/ducat/ducat_sim_options.h"
#include "ui/console/console_options.h"

class SimCommandLine final : public MoreConsoleOptions {
public:
    Take TakeOption(const std::vector<std::string>& args, size_t& i, std::string& error) override;
    bool Complete(std::string& error) const override;
    const char* Synopsis() const override;
    std::string Help() const override;

    bool sim = false; // --sim was given
    sim::DucatSimOptions options;

private:
    bool acceptorOptionSeen_ = false;
};
