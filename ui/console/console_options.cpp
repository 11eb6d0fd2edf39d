#include "ui/console/console_options.h"

#include "coindata/records/device_coin_table.h"
#include "link/port_settings.h"
#include "platform/port_names.h"

#include <cerrno>
#include <cstdlib>

namespace {

// What a command's argument must be. Numbers are whole decimal numbers:
// the dialogs' own reading (and clamping) then applies to them, but a word
// that is not a number is refused here, not read as 0.
enum class ArgumentKind { Text, Row, Number, Flag };

struct ArgumentShape {
    const char* name;
    ArgumentKind kind;
};

constexpr size_t kMostArguments = 3;

struct CommandShape {
    const char* name;
    size_t arguments;
    ArgumentShape shapes[kMostArguments];
};

constexpr unsigned long long kRowHigh = kDeviceCoinRows - 1;
constexpr unsigned long long kNumberHigh = 0xFFFFFFFFull;

constexpr CommandShape kCommands[] = {
    {"monitor", 0, {}},
    {"export-log", 0, {}},
    {"write-coin", 1, {{"FILE", ArgumentKind::Text}}},
    {"set-divider", 3, {{"ROW", ArgumentKind::Row}, {"DIVIDER", ArgumentKind::Number}, {"INHERIT", ArgumentKind::Flag}}},
    {"set-params",
     3,
     {{"MAX_ERROR", ArgumentKind::Number},
      {"NNET_DIVIDER", ArgumentKind::Number},
      {"NUMB_STAND_DEV", ArgumentKind::Number}}},
    {"ports", 0, {}},
    {"show", 1, {{"FILE", ArgumentKind::Text}}},
    {"decode", 1, {{"FILE", ArgumentKind::Text}}},
    {"sniff", 0, {}},
};

// Digits only: no sign, no blanks, nothing behind them.
bool ReadNumber(const std::string& text, unsigned long long high, unsigned long long& value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    errno = 0;
    value = std::strtoull(text.c_str(), nullptr, 10);
    return errno == 0 && value <= high;
}

bool ArgumentFits(const ArgumentShape& shape, const std::string& value, std::string& error) {
    unsigned long long n = 0;
    switch (shape.kind) {
    case ArgumentKind::Text: return true;
    case ArgumentKind::Row:
        if (ReadNumber(value, kRowHigh, n)) return true;
        error = std::string(shape.name) + " is a coin table row, a whole number from 0 to " + std::to_string(kRowHigh) +
                ", not " + value;
        return false;
    case ArgumentKind::Number:
        if (ReadNumber(value, kNumberHigh, n)) return true;
        error = std::string(shape.name) + " is a whole number from 0 to " + std::to_string(kNumberHigh) + ", not " +
                value;
        return false;
    case ArgumentKind::Flag:
        if (value == "0" || value == "1") return true;
        error = std::string(shape.name) + " is 0 or 1, not " + value;
        return false;
    }
    return false;
}

const CommandShape* FindCommand(const std::string& command) {
    for (const auto& c : kCommands) {
        if (command == c.name) return &c;
    }
    return nullptr;
}

// "2400, 4800, ... or 230400": the speeds the settings dialog offers.
std::string SpeedList() {
    std::string list;
    for (size_t i = 0; i < kSpeedCount; ++i) {
        if (i != 0) list += i + 1 == kSpeedCount ? " or " : ", ";
        list += std::to_string(SpeedTable[i]);
    }
    return list;
}

bool IsLineSpeed(unsigned long long bits) {
    for (const uint32_t speed : SpeedTable) {
        if (bits == speed) return true;
    }
    return false;
}

// A device name, or a COM port number 1..255 ("9" or "COM9").
bool TakePort(const std::string& value, ConsoleOptions& o, std::string& error) {
    int number = 0;
    if (platform::ReadComPortNumber(value, number) && number == 0) {
        error = "--port takes a device name, or a COM port number 1.." + std::to_string(platform::kMaxComPortNumber) +
                ", not " + value;
        return false;
    }
    o.port = value;
    return true;
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
    if (option == "--port") return TakePort(value, o, error);
    if (option == "--trace" || option == "--report" || option == "--raw") {
        (option == "--trace" ? o.traceFile : option == "--report" ? o.reportDir : o.rawFile) = value;
        return true;
    }
    if (option == "--speed") {
        // Only the speeds of the settings dialog: the acceptor knows no other.
        if (!ReadNumber(value, kNumberHigh, n) || !IsLineSpeed(n)) {
            error = "--speed: " + value + " is not a line speed; it takes " + SpeedList();
            return false;
        }
    }
    const unsigned long long high = option == "--address" ? 255 : kNumberHigh;
    if (!ReadNumber(value, high, n)) {
        error = option + ": " + value + " is not a whole number from 0 to " + std::to_string(high);
        return false;
    }
    if (option == "--speed") o.speed = static_cast<uint32_t>(n);
    if (option == "--address") o.address = static_cast<int>(n);
    if (option == "--timeout") o.timeoutSeconds = static_cast<uint32_t>(n);
    return true;
}

bool IsConsoleOption(const std::string& arg) {
    return arg == "--port" || arg == "--speed" || arg == "--address" || arg == "--timeout" || arg == "--trace" ||
           arg == "--report" || arg == "--raw";
}

} // namespace

bool CommandKnown(const std::string& command, size_t& argumentCount) {
    const CommandShape* shape = FindCommand(command);
    if (shape != nullptr) argumentCount = shape->arguments;
    return shape != nullptr;
}

bool ParseConsoleOptions(const std::vector<std::string>& args, ConsoleOptions& o, std::string& error,
                         MoreConsoleOptions* more) {
    // Options may stand before or after the command ("ducat monitor --timeout 60").
    std::vector<std::string> words;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i].rfind("--", 0) != 0) {
            words.push_back(args[i]);
        } else if (IsConsoleOption(args[i])) {
            if (!TakeConsoleOption(args, i, o, error)) return false;
        } else {
            const MoreConsoleOptions::Take take =
                more != nullptr ? more->TakeOption(args, i, error) : MoreConsoleOptions::Take::NotMine;
            if (take == MoreConsoleOptions::Take::Bad) return false;
            if (take == MoreConsoleOptions::Take::NotMine) {
                error = "unknown option " + args[i];
                return false;
            }
        }
    }
    if (more != nullptr && !more->Complete(error)) return false;
    if (words.empty()) {
        error = "no command";
        return false;
    }
    o.command = words[0];
    o.arguments.assign(words.begin() + 1, words.end());
    const CommandShape* shape = FindCommand(o.command);
    if (shape == nullptr) {
        error = "unknown command " + o.command;
        return false;
    }
    if (!o.reportDir.empty() && o.command != "monitor") {
        error = "--report belongs to monitor";
        return false;
    }
    if (o.arguments.size() != shape->arguments) {
        error = o.command + " takes " + std::to_string(shape->arguments) + " argument(s)";
        return false;
    }
    for (size_t i = 0; i < shape->arguments; ++i) {
        if (!ArgumentFits(shape->shapes[i], o.arguments[i], error)) return false;
    }
    return true;
}

std::string ConsoleUsage(const MoreConsoleOptions* more) {
    return "usage: ducat [--port NAME] [--speed BITS] [--address N] [--timeout SECONDS]\n"
           "             [--trace FILE] [--report DIR] " +
           std::string(more != nullptr ? more->Synopsis() : "") +
           "COMMAND\n"
           "       ducat --help | --version\n"
           "commands:\n"
           "  monitor                         identify, read the coin table, show coins until Ctrl+C\n"
           "  export-log                      read the acceptor's log into .\\<serial>.tea\n"
           "  write-coin FILE.tea             write a coin description to its coin index\n"
           "  set-divider ROW DIVIDER INHERIT write one row's (0-15) divider and allowed flag (0 or 1)\n"
           "  set-params MAX_ERROR NNET_DIVIDER NUMB_STAND_DEV\n"
           "                                  write the acceptance parameters\n"
           "  ports                           list the ports that open; why others do not\n"
           "  show FILE                       decode a data file and check its checksum and CRC\n"
           "  decode FILE                     show a wire trace, or a raw capture, decoded\n"
           "  sniff                           listen to the link, never writing, until\n"
           "                                  Ctrl+C or --timeout: every frame decoded\n"
           "DIVIDER and the parameters are whole numbers, clamped as the dialogs clamp them.\n"
           "Port, speed and address default to those in \"Ducat Console.cnf\" when it exists.\n"
           "--port takes a device name or a COM port number (9 or COM9); --speed one of\n"
           "  " + SpeedList() + " bit/s.\n"
           "A port that does not open is named with the cause and the remedy after the\n"
           "program's own line; a device that does not answer with its address and speed.\n"
           "--timeout stops a run the way STOP does after SECONDS (0 = no limit).\n"
           "--trace FILE writes every frame with its meaning to FILE (- = standard error).\n"
           "--help shows this text; --version the program's version.\n"
           "--report DIR (monitor) keeps every coin result in DIR/results.csv and writes\n"
           "  DIR/summary.csv and DIR/errors.svg when the run ends.\n"
           "--raw FILE (sniff) keeps the bytes heard with their times; decode reads it.\n"
           "A line that repeats the one before it is shown once more, with \"(repeated N times)\",\n"
           "when another line comes or the run ends.\n"
           "exit status:\n"
           "  0  done: monitor stopped (Ctrl+C or --timeout) after the coin table was read (and\n"
           "     its report written); export-log wrote the whole log dump; a write was taken and\n"
           "     the table read back; show found everything holding; decode read every line\n"
           "     and found no noise; ports always; sniff listened until Ctrl+C or --timeout\n"
           "  1  not done: no answer, a refused or failed write, --timeout or Ctrl+C first,\n"
           "     monitor without the coin table or its report, show of a damaged or unreadable\n"
           "     file, decode of lines that are no trace lines or of noise (bytes of a raw\n"
           "     capture that are in no frame that holds), sniff on a port that did not open\n"
           "     or was lost\n"
           "  2  wrong command line\n"
           "  3  write-coin, set-divider, set-params: the acceptor took the write, but the\n"
           "     coin table read after it never succeeded\n" +
           (more != nullptr ? more->Help() : std::string());
}
