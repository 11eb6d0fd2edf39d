// Command-line options of the virtual acceptor, shared by its own program
// and by `ducat --sim`.
#pragma once

#include "sim/ducat/ducat_acceptor.h"
#include "sim/pty/line_options.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

struct DucatSimOptions {
    int64_t serial = -1;           // -1 = the acceptor's default
    std::string serialText;        // empty = the default
    int address = -1;
    double coinsPerMinute = 12;    // random coins; 0 = none
    size_t logPages = 8;
    uint32_t seed = 1;
    LineOptions line;              // the line to the host: speed, delays, noise, faults
    std::string link = "/tmp/ducat-sim";
    std::vector<DucatFaultRule> faults;
};

// The acceptor's log holds at most this many pages (what page 0 can announce).
constexpr size_t kMaxSimLogPages = 0xFFFF + 2;

enum class OptionParse { NotMine, Taken, Bad };

// Looks at args[i] (and its value in args[i + 1]); on Taken, `i` is moved
// past what was used. On Bad, `error` says why.
OptionParse ParseDucatSimOption(const std::vector<std::string>& args, size_t& i, DucatSimOptions& options,
                                std::string& error);

// Puts the options into an acceptor.
void ApplyDucatSimOptions(const DucatSimOptions& options, DucatAcceptor& acceptor);

// One line per option, the line's included, for --help texts.
const char* DucatSimOptionsHelp();

} // namespace sim
