// The `ducat` command line:
//   ducat [--port NAME] [--speed BITS] [--address N] [--timeout SECONDS]
//         [--trace FILE] [--report DIR] [--raw FILE] [MORE OPTIONS] COMMAND [ARGUMENTS]
// where the more options (`--sim` where ptys exist) are read by another unit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct ConsoleOptions {
    std::string port;        // empty = from the configuration and the port scan
    uint32_t speed = 0;      // 0 = from the configuration
    int address = -1;        // -1 = from the configuration
    uint32_t timeoutSeconds = 0; // 0 = no limit: a run lasts until it ends or Ctrl+C
    std::string traceFile; // the wire trace ("-" = standard error); empty = none
    std::string reportDir; // monitor: the calibration report's folder
    std::string rawFile;   // sniff: the bytes heard with their times
    std::string command;
    std::vector<std::string> arguments;
};

// Options beyond the console's own, with their place in the usage.
class MoreConsoleOptions {
public:
    virtual ~MoreConsoleOptions() = default;

    enum class Take { NotMine, Taken, Bad };
    // Looks at args[i] (and what follows it); on Taken `i` is moved past
    // what was used, on Bad `error` says why.
    virtual Take TakeOption(const std::vector<std::string>& args, size_t& i, std::string& error) = 0;
    // After the whole line: false with `error` when what was taken does not
    // hold together.
    virtual bool Complete(std::string& error) const = 0;
    // The synopsis' words for them, each followed by a blank.
    virtual const char* Synopsis() const = 0;
    // The lines that end the usage.
    virtual std::string Help() const = 0;
};

// False with `error` set when the line cannot be read. An option that is
// neither the console's own nor one of `more` is unknown.
bool ParseConsoleOptions(const std::vector<std::string>& args, ConsoleOptions& options, std::string& error,
                         MoreConsoleOptions* more = nullptr);

// The commands and how many arguments each takes.
bool CommandKnown(const std::string& command, size_t& argumentCount);

// The --help text, with `more`'s options when there are any.
std::string ConsoleUsage(const MoreConsoleOptions* more = nullptr);
