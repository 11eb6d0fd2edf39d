#include "sim/ducat/ducat_sim_options.h"

#include "commands/protocol/acceptor_layouts.h"

#include <cerrno>
#include <cstdlib>

namespace sim {
namespace {

struct Named {
    const char* name;
    int value;
};

constexpr Named kFaultKinds[] = {
    {"silence", static_cast<int>(DucatFault::Silence)},
    {"short", static_cast<int>(DucatFault::ShortReply)},
    {"length", static_cast<int>(DucatFault::WrongLength)},
    {"checksum", static_cast<int>(DucatFault::WrongChecksum)},
    {"crc", static_cast<int>(DucatFault::WrongCrc)},
    {"page", static_cast<int>(DucatFault::WrongPage)},
    {"refuse", static_cast<int>(DucatFault::Refuse)},
    {"repeat", static_cast<int>(DucatFault::RepeatFragment)},
    {"line", static_cast<int>(DucatFault::LineError)},
};

constexpr Named kFunctions[] = {
    {"any", kAnyFunction},
    {"identify", acceptor::kIdentify},
    {"fragment", acceptor::kWriteFragment},
    {"table", acceptor::kReadTable},
    {"result", acceptor::kReadResult},
    {"divider", acceptor::kWriteDivider},
    {"params", acceptor::kWriteParams},
    {"log", acceptor::kReadLogPage},
};

template <size_t N>
bool Lookup(const Named (&table)[N], const std::string& name, int& value) {
    for (const auto& entry : table) {
        if (name == entry.name) {
            value = entry.value;
            return true;
        }
    }
    return false;
}

bool ParseNumber(const std::string& text, long long low, long long high, long long& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtoll(text.c_str(), &end, 0);
    return errno == 0 && *end == '\0' && value >= low && value <= high;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

// KIND[:FUNCTION[:TIMES[:VALUE[:AFTER]]]]
bool ParseFault(const std::string& text, DucatFaultRule& rule) {
    const std::vector<std::string> parts = Split(text, ':');
    if (parts.size() > 5) return false;
    int kind = 0;
    if (!Lookup(kFaultKinds, parts[0], kind)) return false;
    rule = DucatFaultRule{};
    rule.kind = static_cast<DucatFault>(kind);
    rule.times = kForever;
    if (parts.size() > 1 && !Lookup(kFunctions, parts[1], rule.function)) return false;
    long long n = 0;
    if (parts.size() > 2) {
        if (!ParseNumber(parts[2], -1, 1000000, n) || n == 0) return false;
        rule.times = static_cast<int>(n);
    }
    if (parts.size() > 3) {
        if (!ParseNumber(parts[3], 0, 255, n)) return false;
        rule.value = static_cast<int>(n);
    }
    if (parts.size() > 4) {
        if (!ParseNumber(parts[4], 0, 1000000, n)) return false;
        rule.after = static_cast<int>(n);
    }
    return true;
}

bool TakeValue(const std::vector<std::string>& args, size_t& i, std::string& value, std::string& error) {
    if (i + 1 >= args.size()) {
        error = args[i] + " needs a value";
        return false;
    }
    value = args[++i];
    return true;
}

bool ApplyNumber(const std::string& option, const std::string& value, long long low, long long high,
                 long long& n, std::string& error) {
    if (ParseNumber(value, low, high, n)) return true;
    error = option + ": " + value + " is not a number from " + std::to_string(low) + " to " + std::to_string(high);
    return false;
}

const char* DucatAcceptorOptionsHelp() {
    return "  --sim-serial N          serial number (the link's cipher key)\n"
           "  --sim-serial-text TEXT  serial number text (names the log dump)\n"
           "  --sim-address N         ccTalk address the acceptor answers (default 1)\n"
           "  --coins-per-minute R    random coins passing (default 12, 0 = none)\n"
           "  --log-pages N           pages in the acceptor's log, 2-65537 (default 8)\n"
           "  --seed N                seed of the coins and the log bytes\n"
           "  --link PATH             stable name for the pty (default /tmp/ducat-sim)\n"
           "  --fault KIND[:FUNC[:TIMES[:VALUE[:AFTER]]]]\n"
           "      KIND: silence short length checksum crc page refuse repeat line\n"
           "      FUNC: any identify fragment table result divider params log\n"
           "      TIMES: requests spoiled (-1 = all, the default); VALUE: status or bytes cut;\n"
           "      AFTER: matching requests let through first\n";
}

} // namespace

OptionParse ParseDucatSimOption(const std::vector<std::string>& args, size_t& i, DucatSimOptions& options,
                                std::string& error) {
    const std::string& option = args[i];
    std::string lineError;
    if (TakeLineOption(args, i, options.line, lineError)) {
        error = lineError;
        return lineError.empty() ? OptionParse::Taken : OptionParse::Bad;
    }
    static const char* const kValued[] = {"--sim-serial", "--sim-serial-text", "--sim-address", "--coins-per-minute",
                                          "--log-pages",  "--seed",            "--link",        "--fault"};
    bool mine = false;
    for (const char* name : kValued) mine = mine || option == name;
    if (!mine) return OptionParse::NotMine;
    std::string value;
    if (!TakeValue(args, i, value, error)) return OptionParse::Bad;
    long long n = 0;
    bool ok = true;
    if (option == "--sim-serial") {
        ok = ApplyNumber(option, value, 0, 0xFFFFFFFFll, n, error);
        options.serial = n;
    } else if (option == "--sim-serial-text") {
        options.serialText = value;
    } else if (option == "--sim-address") {
        ok = ApplyNumber(option, value, 0, 255, n, error);
        options.address = static_cast<int>(n);
    } else if (option == "--coins-per-minute") {
        ok = ApplyNumber(option, value, 0, 6000, n, error);
        options.coinsPerMinute = static_cast<double>(n);
    } else if (option == "--log-pages") {
        ok = ApplyNumber(option, value, 2, static_cast<long long>(kMaxSimLogPages), n, error);
        options.logPages = static_cast<size_t>(n);
    } else if (option == "--seed") {
        ok = ApplyNumber(option, value, 0, 0xFFFFFFFFll, n, error);
        options.seed = static_cast<uint32_t>(n);
    } else if (option == "--link") {
        options.link = value;
    } else {
        DucatFaultRule rule;
        ok = ParseFault(value, rule);
        if (ok) options.faults.push_back(rule);
        if (!ok) error = "--fault: cannot read \"" + value + "\"";
    }
    return ok ? OptionParse::Taken : OptionParse::Bad;
}

void ApplyDucatSimOptions(const DucatSimOptions& options, DucatAcceptor& acceptor) {
    if (options.serial >= 0) acceptor.identity.serial = static_cast<uint32_t>(options.serial);
    if (!options.serialText.empty()) acceptor.identity.serialText = options.serialText;
    if (options.address >= 0) acceptor.identity.address = static_cast<uint8_t>(options.address);
    acceptor.SetLogPages(options.logPages, options.seed);
    acceptor.SetRandomCoins(options.coinsPerMinute, options.seed);
    for (const auto& rule : options.faults) acceptor.faults.Add(rule);
}

const char* DucatSimOptionsHelp() {
    // The line's options are read here too, so they are listed here.
    static const std::string kHelp = std::string(DucatAcceptorOptionsHelp()) + LineOptionsHelp();
    return kHelp.c_str();
}

} // namespace sim
