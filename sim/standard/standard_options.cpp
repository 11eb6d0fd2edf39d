#include "sim/standard/standard_options.h"

#include <cerrno>
#include <cstdlib>

namespace sim {
namespace {

bool ParseUnsigned(const std::string& text, unsigned long max, unsigned long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtoul(text.c_str(), &end, 0);
    return errno == 0 && *end == '\0' && text[0] != '-' && value <= max;
}

bool ParseRate(const std::string& text, double& rate) {
    char* end = nullptr;
    rate = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && rate >= 0 && rate <= 1000;
}

// "P=ID" or "P=ID:VALUE".
bool ParseCoin(const std::string& text, StandardConfig& config) {
    const size_t eq = text.find('=');
    unsigned long position = 0;
    if (eq == std::string::npos || !ParseUnsigned(text.substr(0, eq), kStandardCoinPositions, position) ||
        position == 0) {
        return false;
    }
    std::string id = text.substr(eq + 1);
    unsigned long value = 0;
    const size_t colon = id.find(':');
    if (colon != std::string::npos) {
        if (!ParseUnsigned(id.substr(colon + 1), 0xFFFFFF, value)) return false;
        id.resize(colon);
    }
    config.coins[position - 1] = {id, static_cast<uint32_t>(value)};
    return true;
}

struct SwitchOption {
    const char* name;
    void (*apply)(StandardConfig&);
};

constexpr uint8_t kRequestTeachStatus = 201;
constexpr uint8_t kTeachModeControl = 202;

const SwitchOption kSwitchOptions[] = {
    {"--no-echo", [](StandardConfig& c) { c.echo = false; }},
    {"--long-sorter", [](StandardConfig& c) { c.longSorter = true; }},
    {"--no-flags", [](StandardConfig& c) { DropOptionFlags(c); }},
    {"--no-teach",
     [](StandardConfig& c) {
         c.unknownHeaders.set(kRequestTeachStatus);
         c.unknownHeaders.set(kTeachModeControl);
     }},
};

struct NumberOption {
    const char* name;
    unsigned long min;
    unsigned long max;
    void (*apply)(StandardConfig&, unsigned long);
};

const NumberOption kNumberOptions[] = {
    {"--address", 1, 255, [](StandardConfig& c, unsigned long n) { c.address = static_cast<uint8_t>(n); }},
    {"--serial", 0, 0xFFFFFF, [](StandardConfig& c, unsigned long n) { c.serialNumber = static_cast<uint32_t>(n); }},
    {"--flags", 0, 255, [](StandardConfig& c, unsigned long n) { c.optionFlags = static_cast<uint8_t>(n); }},
    {"--seed", 0, 0xFFFFFFFF, [](StandardConfig& c, unsigned long n) { c.seed = static_cast<uint32_t>(n); }},
    {"--teach-coins", 1, 255, [](StandardConfig& c, unsigned long n) { c.teachCoins = static_cast<int>(n); }},
    {"--opto", 0, 255, [](StandardConfig& c, unsigned long n) { c.optoStates = static_cast<uint8_t>(n); }},
    {"--extra-address", 1, 255,
     [](StandardConfig& c, unsigned long n) { c.extraAddresses.push_back(static_cast<uint8_t>(n)); }},
};

struct TextOption {
    const char* name;
    std::string StandardConfig::*field;
};

const TextOption kTextOptions[] = {
    {"--manufacturer", &StandardConfig::manufacturer},
    {"--product", &StandardConfig::productCode},
    {"--revision", &StandardConfig::revision},
};

const char* const kOtherValueOptions[] = {"--coin-rate", "--coin"};

bool IsValueOption(const std::string& name) {
    for (const auto& option : kNumberOptions) {
        if (name == option.name) return true;
    }
    for (const auto& option : kTextOptions) {
        if (name == option.name) return true;
    }
    for (const char* option : kOtherValueOptions) {
        if (name == option) return true;
    }
    return false;
}

// Applies an option that takes a value: Taken, Bad, or NotMine.
OptionResult ApplyValueOption(const std::string& name, const std::string& value, StandardConfig& config) {
    const auto result = [](bool ok) { return ok ? OptionResult::Taken : OptionResult::Bad; };
    for (const auto& option : kNumberOptions) {
        if (name != option.name) continue;
        unsigned long n = 0;
        const bool ok = ParseUnsigned(value, option.max, n) && n >= option.min;
        if (ok) option.apply(config, n);
        return result(ok);
    }
    for (const auto& option : kTextOptions) {
        if (name != option.name) continue;
        config.*option.field = value;
        return OptionResult::Taken;
    }
    if (name == "--coin-rate") return result(ParseRate(value, config.coinsPerSecond));
    if (name == "--coin") return result(ParseCoin(value, config));
    return OptionResult::NotMine;
}

} // namespace

OptionResult ParseStandardOption(const std::vector<std::string>& args, size_t& i, StandardConfig& config,
                                 std::string& error) {
    const std::string& name = args[i];
    for (const auto& option : kSwitchOptions) {
        if (name != option.name) continue;
        option.apply(config);
        return OptionResult::Taken;
    }
    if (!IsValueOption(name)) return OptionResult::NotMine;
    if (i + 1 >= args.size()) {
        error = name + " needs a value";
        return OptionResult::Bad;
    }
    const std::string& value = args[++i];
    if (ApplyValueOption(name, value, config) != OptionResult::Taken) {
        error = "bad value for " + name + ": " + value;
        return OptionResult::Bad;
    }
    return OptionResult::Taken;
}

const char* StandardOptionsHelp() {
    return "  --address N          device address (default 2)\n"
           "  --manufacturer TEXT  manufacturer id (default SIM)\n"
           "  --product TEXT       product code (default Standard; QX... is the variant)\n"
           "  --serial N           serial number, 0..16777215 (default 123456)\n"
           "  --revision TEXT      software revision (default 1.00)\n"
           "  --flags N            option flags byte (default 0xC0: teach, escrow)\n"
           "  --no-flags           the device does not know the option flags request\n"
           "  --long-sorter        four sorter paths per coin\n"
           "  --coin P=ID[:VALUE]  coin id of position P (1..16), value in hundredths\n"
           "  --coin-rate R        random coins per second (default 0)\n"
           "  --seed N             seed of the random coins\n"
           "  --teach-coins N      coins that complete a teach (default 3)\n"
           "  --opto N             opto states: bit 0 coin present, bit 1 trash open (default 0)\n"
           "  --no-teach           the device does not know teach mode\n"
           "  --no-echo            no echo of the host's bytes (a two-wire adapter)\n"
           "  --extra-address N    one more acceptor on the same line at address N (repeatable;\n"
           "                       an address given twice, or the first device's, is a clash)\n";
}

} // namespace sim
