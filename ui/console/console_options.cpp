#include "ui/console/console_options.h"

#include <cerrno>
#include <cstdlib>

namespace {

struct CommandShape {
    const char* name;
    size_t arguments;
};

constexpr CommandShape kCommands[] = {
    {"monitor", 0}, {"export-log", 0}, {"write-coin", 1}, {"set-divider", 3},
    {"set-params", 3}, {"ports", 0},   {"show", 1}, {"decode", 1},
};

bool ReadNumber(const std::string& text, unsigned long long high, unsigned long long& value) {
    if (text.empty() || text[0] == '-') return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtoull(text.c_str(), &end, 10);
    return errno == 0 && *end == '\0' && value <= high;
}

// One option of the console itself with its value; false on a bad value.
bool TakeConsoleOption(const std::vector<std::string>& args, size_t& i, ConsoleOptions& o, std::string& error) {
    const std::string& option = args[i];
    if (i + 1 >= args.size()) {
        error = option + " needs a value";
        return false;
    }
    const std::string& value = args[++i];
    unsigned long long n = 0;
    if (option == "--port" || option == "--trace" || option == "--report") {
        (option == "--port" ? o.port : option == "--trace" ? o.traceFile : o.reportDir) = value;
        return true;
    }
    const unsigned long long high = option == "--address" ? 255 : 0xFFFFFFFFull;
    if (!ReadNumber(value, high, n)) {
        error = option + ": " + value + " is not a number up to " + std::to_string(high);
        return false;
    }
    if (option == "--speed") o.speed = static_cast<uint32_t>(n);
    if (option == "--address") o.address = static_cast<int>(n);
    if (option == "--timeout") o.timeoutSeconds = static_cast<uint32_t>(n);
    return true;
}

bool IsConsoleOption(const std::string& arg) {
    return arg == "--port" || arg == "--speed" || arg == "--address" || arg == "--timeout" || arg == "--trace" ||
           arg == "--report";
}

} // namespace

bool CommandKnown(const std::string& command, size_t& argumentCount) {
    for (const auto& c : kCommands) {
        if (command == c.name) {
            argumentCount = c.arguments;
            return true;
        }
    }
    return false;
}

bool ParseConsoleOptions(const std::vector<std::string>& args, ConsoleOptions& o, std::string& error) {
    // Options may stand before or after the command ("ducat monitor --sim").
    std::vector<std::string> words;
    bool simOptionSeen = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i].rfind("--", 0) != 0) {
            words.push_back(args[i]);
        } else if (args[i] == "--sim") {
            o.sim = true;
        } else if (IsConsoleOption(args[i])) {
            if (!TakeConsoleOption(args, i, o, error)) return false;
        } else {
            const sim::OptionParse parse = sim::ParseDucatSimOption(args, i, o.simOptions, error);
            if (parse == sim::OptionParse::Bad) return false;
            if (parse == sim::OptionParse::NotMine) {
                error = "unknown option " + args[i];
                return false;
            }
            simOptionSeen = true;
        }
    }
    if (simOptionSeen && !o.sim) {
        error = "options of the virtual acceptor need --sim";
        return false;
    }
    if (words.empty()) {
        error = "no command";
        return false;
    }
    o.command = words[0];
    o.arguments.assign(words.begin() + 1, words.end());
    size_t wanted = 0;
    if (!CommandKnown(o.command, wanted)) {
        error = "unknown command " + o.command;
        return false;
    }
    if (!o.reportDir.empty() && o.command != "monitor") {
        error = "--report belongs to monitor";
        return false;
    }
    if (o.arguments.size() != wanted) {
        error = o.command + " takes " + std::to_string(wanted) + " argument(s)";
        return false;
    }
    return true;
}

const char* ConsoleUsage() {
    return "usage: ducat [--port NAME] [--speed BITS] [--address N] [--timeout SECONDS]\n"
           "             [--trace FILE] [--report DIR] [--sim [SIM OPTIONS]] COMMAND\n"
           "commands:\n"
           "  monitor                         identify, read the coin table, show coins until Ctrl+C\n"
           "  export-log                      read the acceptor's log into .\\<serial>.tea\n"
           "  write-coin FILE.tea             write a coin description to its coin index\n"
           "  set-divider ROW DIVIDER INHERIT write one row's (0-15) divider and allowed flag\n"
           "  set-params MAX_ERROR NNET_DIVIDER NUMB_STAND_DEV\n"
           "                                  write the acceptance parameters\n"
           "  ports                           list the serial ports that open\n"
           "  show FILE                       decode a data file and check its checksum and CRC\n"
           "  decode FILE                     show a wire trace, or a raw capture, decoded\n"
           "Port, speed and address default to those in \"Ducat Console.cnf\" when it exists.\n"
           "--timeout stops a run the way STOP does after SECONDS (the command then fails).\n"
           "--trace FILE writes every frame with its meaning to FILE (- = standard error).\n"
           "--report DIR (monitor) keeps every coin result in DIR/results.csv and writes\n"
           "  DIR/summary.csv and DIR/errors.svg when the run ends.\n"
           "--sim runs against a virtual acceptor on a pty; its options:\n";
}
