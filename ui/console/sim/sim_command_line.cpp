#include "ui/console/sim/sim_command_line.h"

MoreConsoleOptions::Take SimCommandLine::TakeOption(const std::vector<std::string>& args, size_t& i, std::string& error) {
    if (args[i] == "--sim") {
        sim = true;
        return Take::Taken;
    }
    switch (sim::ParseDucatSimOption(args, i, options, error)) {
    case sim::OptionParse::NotMine: return Take::NotMine;
    case sim::OptionParse::Bad: return Take::Bad;
    case sim::OptionParse::Taken: break;
    }
    acceptorOptionSeen_ = true;
    return Take::Taken;
}

bool SimCommandLine::Complete(std::string& error) const {
    if (!acceptorOptionSeen_ || sim) return true;
    error = "options of the virtual acceptor need --sim";
    return false;
}

const char* SimCommandLine::Synopsis() const { return "[--sim [SIM OPTIONS]] "; }

std::string SimCommandLine::Help() const {
    return std::string("--sim runs against a virtual acceptor on a pty; its options:\n") + sim::DucatSimOptionsHelp();
}
