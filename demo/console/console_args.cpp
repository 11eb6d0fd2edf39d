#include "demo/console/console_args.h"

#include "demo/console/console_sniff.h"

#include "platform/port_names.h"

#include <cerrno>
#include <cstdlib>

#if POLLBENCH_WITH_SIM
#include "sim/pty/line_options.h"
#include "sim/standard/standard_options.h"
#endif

namespace {

constexpr int kMinAddress = 2; // 1 is the host, 0 the broadcast
constexpr int kMaxAddress = 255;
constexpr int kMinIntervalMs = 10;
constexpr int kMaxIntervalMs = 60000;
constexpr int kMaxChannel = 255;
#if POLLBENCH_WITH_SIM
constexpr double kSimCoinsPerSecond = 0.5; // enough to watch, and to finish a teach
#endif

bool AllDigits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// A whole decimal number, digits only (no sign, no blanks), from min to max.
bool ParseNumber(const std::string& text, int min, int max, int& value) {
    if (!AllDigits(text)) return false;
    errno = 0;
    const long long n = std::strtoll(text.c_str(), nullptr, 10);
    if (errno != 0 || n < min || n > max) return false;
    value = static_cast<int>(n);
    return true;
}

// A port is a device name, or a COM port number written "5" or "COM5".
bool TakePort(const std::string& value, PollbenchArgs& args) {
    args.port = value;
    args.portNumber = 0;
    return !platform::ReadComPortNumber(value, args.portNumber) || args.portNumber != 0;
}

// Options of the host, before the command; false when the word is not one.
bool TakeHostOption(const std::vector<std::string>& w, size_t& i, PollbenchArgs& args, std::string& error) {
    const std::string& name = w[i];
    if (name != "--port" && name != "--address" && name != "--interval" && name != "--trace") return false;
    if (i + 1 >= w.size()) {
        error = name + " needs a value";
        return true;
    }
    const std::string& value = w[++i];
    if (name == "--trace") {
        args.traceFile = value;
    } else if (name == "--port") {
        if (!TakePort(value, args)) error = "--port takes a device name, or a COM port number 1..255";
    } else if (name == "--address" && !ParseNumber(value, kMinAddress, kMaxAddress, args.address)) {
        error = "--address takes 2..255";
    } else if (name == "--interval" && !ParseNumber(value, kMinIntervalMs, kMaxIntervalMs, args.intervalMs)) {
        error = "--interval takes 10..60000 milliseconds";
    }
    return true;
}

// The options of the virtual acceptor that follow --sim.
bool TakeSimOptions(const std::vector<std::string>& w, size_t& i, PollbenchArgs& args, std::string& error) {
#if POLLBENCH_WITH_SIM
    args.sim = true;
    args.simConfig.coinsPerSecond = kSimCoinsPerSecond;
    args.simConfig.address = 0; // 0 until given: then the host's address
    while (i + 1 < w.size()) {
        size_t next = i + 1;
        const sim::OptionResult r = sim::ParseStandardOption(w, next, args.simConfig, error);
        if (r == sim::OptionResult::Bad) return false;
        if (r == sim::OptionResult::NotMine) {
            if (!sim::TakeLineOption(w, next, args.simLine, error)) break;
            if (!error.empty()) return false;
        }
        i = next;
    }
    return true;
#else
    (void)w;
    (void)i;
    (void)args;
    error = "--sim is not available in this build";
    return false;
#endif
}

// Arguments after the command word.
bool TakeCommandArgument(const std::vector<std::string>& w, size_t& i, PollbenchArgs& args, std::string& error) {
    const std::string& word = w[i];
    if (args.command == "sniff" && TakeSniffArgument(w, i, args, error)) return error.empty();
    if (args.command == "teach" && word == "--enhanced") {
        args.enhanced = true;
    } else if (args.command == "scan-bus" && word == "--thorough") {
        args.thorough = true;
    } else if (args.command == "poll" && word == "--reinit" && i + 1 < w.size()) {
        const std::string& answer = w[++i];
        if (answer != "yes" && answer != "no") {
            error = "--reinit takes yes or no";
            return false;
        }
        args.reinitialize = answer == "yes";
    } else if (args.command == "poll" && word == "--report" && i + 1 < w.size()) {
        args.reportDir = w[++i];
    } else if (args.command == "decode" && args.file.empty() && word.compare(0, 2, "--") != 0) {
        args.file = word;
    } else if (args.command == "teach" && args.channel.empty() && word.compare(0, 2, "--") != 0) {
        // The window's Channel box takes what it can of any text; on the
        // command line a channel that is no number is a typing error.
        int channel = 0;
        if (!ParseNumber(word, 0, kMaxChannel, channel)) {
            error = "teach takes a channel 0..255, not " + word;
            return false;
        }
        args.channel = word;
    } else {
        error = "unexpected argument: " + word;
        return false;
    }
    return true;
}

bool KnownCommand(const std::string& command) {
    return command == "search" || command == "identify" || command == "poll" || command == "teach" ||
           command == "scan-bus" || command == "decode" || command == "sniff";
}

} // namespace

bool ParsePollbenchArgs(const std::vector<std::string>& w, PollbenchArgs& args, std::string& error) {
    for (size_t i = 0; i < w.size(); ++i) {
        if (!args.command.empty()) {
            if (!TakeCommandArgument(w, i, args, error)) return false;
        } else if (w[i] == "--sim") {
            if (!TakeSimOptions(w, i, args, error)) return false;
        } else if (TakeHostOption(w, i, args, error)) {
            if (!error.empty()) return false;
        } else if (KnownCommand(w[i])) {
            args.command = w[i];
        } else {
            error = "unknown command or option: " + w[i];
            return false;
        }
    }
    if (args.command.empty()) {
        error = "no command given";
        return false;
    }
    if (args.command == "teach" && args.channel.empty()) {
        error = "teach needs a channel";
        return false;
    }
    if (args.command == "decode" && args.file.empty()) {
        error = "decode needs a trace or capture file";
        return false;
    }
    if (!args.sim && args.port.empty() && args.command != "search" && args.command != "decode") {
#if POLLBENCH_WITH_SIM
        error = "name the port with --port, or use --sim";
#else
        error = "name the port with --port"; // no --sim without ptys
#endif
        return false;
    }
#if POLLBENCH_WITH_SIM
    if (args.sim && args.simConfig.address == 0) args.simConfig.address = static_cast<uint8_t>(args.address);
#endif
    return true;
}

const char* PollbenchUsage() {
    return "usage: pollbench [--port NAME] [--address N] [--interval MS] [--trace FILE]\n"
           "                 [--sim [SIM OPTIONS]] COMMAND\n"
           "       pollbench --help | --version\n"
           "commands:\n"
           "  search                      look for the device on COM1..COM20\n"
           "  identify                    identification and coin table\n"
           "  poll [--reinit yes|no] [--report DIR]\n"
           "                              poll the event buffer until Ctrl+C; DIR gets\n"
           "                              events.csv and, at the end, summary.csv\n"
           "  teach CHANNEL [--enhanced]  teach a coin channel\n"
           "  scan-bus [--thorough]       broadcast address poll, clash poll of each address\n"
           "                              found, identity of each device; --thorough (or no\n"
           "                              answer to the broadcast): simple poll to 2..255\n"
           "  decode FILE                 show a trace, or a raw capture, decoded\n"
           "  sniff [--speed N] [--raw FILE] [--report DIR] [--timeout S]\n"
           "                              listen to the bus without writing (N bit/s 8N1,\n"
           "                              default 9600) until Ctrl+C or S seconds: every\n"
           "                              frame decoded; FILE gets the bytes heard with\n"
           "                              their times (decode reads it), DIR the session\n"
           "                              report of the host heard\n"
           "--port takes a device name or a COM port number (9 or COM9); --address 2..255\n"
           "(default 2);\n"
           "--interval 10..60000 ms between polls (default 200);\n"
           "--trace FILE writes every frame with its meaning to FILE (- = standard error).\n"
           "--help shows this text; --version the program's version.\n"
           "A port that does not open is named with the cause and the remedy; a device that\n"
           "does not answer with its address and the line's speed.\n"
           "Texts from the device show control bytes as escapes (\\x1b); a line that repeats the\n"
           "one before it is shown once more, with \"(repeated N times)\", when another comes.\n"
           "exit status:\n"
           "  0  search found a device; identify identified it; poll was ended by Ctrl+C after a\n"
           "     device was identified; teach completed; scan-bus found a device; decode read\n"
           "     every line and found no noise; sniff listened until Ctrl+C or its timeout\n"
           "  1  no device answered or none was identified, or the teach did not complete;\n"
           "     a report or trace file could not be written; decode met lines it could not read\n"
           "     or noise (bytes of a raw capture that are in no frame that holds); sniff's\n"
           "     port did not open, took no settings or was lost\n"
           "  2  wrong command line\n"
#if POLLBENCH_WITH_SIM
           "--sim serves a virtual standard acceptor on a pty; its options:\n"
#endif
        ;
}
