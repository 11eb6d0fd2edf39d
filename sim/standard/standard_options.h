// Command-line options that describe a virtual standard acceptor, shared by
// the standard-sim program and `pollbench --sim`.
#pragma once

#include "sim/standard/standard_config.h"

#include <string>
#include <vector>

namespace sim {

enum class OptionResult { NotMine, Taken, Bad };

// Looks at args[i]; when it is a device option, applies it (with its value,
// advancing i past it) and returns Taken, or Bad with `error` set.
OptionResult ParseStandardOption(const std::vector<std::string>& args, size_t& i, StandardConfig& config,
                                 std::string& error);

// One line per option, for a usage text.
const char* StandardOptionsHelp();

} // namespace sim
