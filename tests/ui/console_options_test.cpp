#include "ui/console/console_options.h"
#include "ui/console/sim/sim_command_line.h"

#include <gtest/gtest.h>

namespace {

// As the console reads its line where ptys exist.
bool Parse(std::vector<std::string> args, ConsoleOptions& o, std::string& error) {
    SimCommandLine simLine;
    return ParseConsoleOptions(args, o, error, &simLine);
}

TEST(ConsoleOptions, TakeOptionsBeforeAndAfterTheCommand) {
    ConsoleOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"--port", "/dev/ttyUSB0", "set-divider", "3", "40", "1", "--address", "2", "--speed", "115200"},
                      o, error))
        << error;
    EXPECT_EQ("/dev/ttyUSB0", o.port);
    EXPECT_EQ(2, o.address);
    EXPECT_EQ(115200u, o.speed);
    EXPECT_EQ("set-divider", o.command);
    EXPECT_EQ((std::vector<std::string>{"3", "40", "1"}), o.arguments);
    SimCommandLine simLine;
    ASSERT_TRUE(ParseConsoleOptions({"monitor", "--port", "/dev/ttyUSB0"}, o, error, &simLine)) << error;
    EXPECT_FALSE(simLine.sim);
}

TEST(ConsoleOptions, SimOptionsGoToTheVirtualAcceptor) {
    ConsoleOptions o;
    std::string error;
    SimCommandLine simLine;
    ASSERT_TRUE(ParseConsoleOptions({"monitor", "--sim", "--coins-per-minute", "60", "--log-pages", "64", "--fault",
                                     "refuse:divider:3:9:1", "--sim-serial", "4000000000"},
                                    o, error, &simLine))
        << error;
    EXPECT_EQ("monitor", o.command);
    EXPECT_TRUE(simLine.sim);
    EXPECT_EQ(60.0, simLine.options.coinsPerMinute);
    EXPECT_EQ(64u, simLine.options.logPages);
    EXPECT_EQ(4000000000ll, simLine.options.serial);
    ASSERT_EQ(1u, simLine.options.faults.size());
    const sim::DucatFaultRule& rule = simLine.options.faults[0];
    EXPECT_EQ(sim::DucatFault::Refuse, rule.kind);
    EXPECT_EQ(0x11, rule.function);
    EXPECT_EQ(3, rule.times);
    EXPECT_EQ(9, rule.value);
    EXPECT_EQ(1, rule.after);
}

TEST(ConsoleOptions, RefuseWhatTheyCannotRead) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--port"},
        {"dance"},
        {"show"},
        {"show", "a", "b"},
        {"monitor", "--address", "256"},
        {"monitor", "--speed", "-1"},
        {"monitor", "--log-pages", "10"},           // a sim option without --sim
        {"monitor", "--sim", "--log-pages", "1"},   // fewer than 2 pages
        {"monitor", "--sim", "--log-pages", "65538"},
        {"monitor", "--sim", "--fault", "explode"},
        {"monitor", "--sim", "--fault", "refuse:nowhere"},
        {"monitor", "--verbose"},
        {"monitor", "--speed", "0"},
        {"monitor", "--address", "+5"},
        {"monitor", "--timeout", " 3"},
        {"monitor", "--timeout", "4294967296"},
    };
    for (const auto& args : bad) {
        ConsoleOptions o;
        std::string error;
        EXPECT_FALSE(Parse(args, o, error)) << ::testing::PrintToString(args);
        EXPECT_FALSE(error.empty());
    }
    ConsoleOptions o;
    std::string error;
    EXPECT_FALSE(Parse({"monitor", "--log-pages", "10"}, o, error));
    EXPECT_EQ("options of the virtual acceptor need --sim", error);
}

// Where there are no ptys (Windows) the line is read without the virtual
// acceptor's options: --sim is a wrong command line like any unknown option.
TEST(ConsoleOptions, WithoutMoreOptionsSimIsUnknown) {
    ConsoleOptions o;
    std::string error;
    EXPECT_FALSE(ParseConsoleOptions({"monitor", "--sim"}, o, error));
    EXPECT_EQ("unknown option --sim", error);
    EXPECT_FALSE(ParseConsoleOptions({"monitor", "--log-pages", "10"}, o, error));
    EXPECT_EQ("unknown option --log-pages", error);
    ConsoleOptions plain;
    ASSERT_TRUE(ParseConsoleOptions({"monitor", "--port", "COM3", "--timeout", "5"}, plain, error)) << error;
    EXPECT_EQ("COM3", plain.port);
    EXPECT_EQ(5u, plain.timeoutSeconds);
}

TEST(ConsoleOptions, UsageNamesSimOnlyWhereItIsRead) {
    const std::string plain = ConsoleUsage();
    EXPECT_EQ(std::string::npos, plain.find("--sim")) << plain;
    EXPECT_EQ(std::string::npos, plain.find("--coins-per-minute")) << plain;
    EXPECT_NE(std::string::npos, plain.find("             [--trace FILE] [--report DIR] COMMAND\n")) << plain;
    const SimCommandLine simLine;
    const std::string withSim = ConsoleUsage(&simLine);
    EXPECT_NE(std::string::npos,
              withSim.find("             [--trace FILE] [--report DIR] [--sim [SIM OPTIONS]] COMMAND\n"))
        << withSim;
    const std::string simHelp =
        std::string("--sim runs against a virtual acceptor on a pty; its options:\n") + sim::DucatSimOptionsHelp();
    ASSERT_GT(withSim.size(), simHelp.size());
    EXPECT_EQ(simHelp, withSim.substr(withSim.size() - simHelp.size())) << withSim;
}

// A row, divider or flag that is no number is a typing error, never row 0
// or a divider of 0.
TEST(ConsoleOptions, WriteArgumentsMustBeTheirKindOfNumber) {
    const std::vector<std::vector<std::string>> bad = {
        {"set-divider", "-1", "9", "1"},
        {"set-divider", "x", "9", "1"},
        {"set-divider", "4294967296", "9", "1"},
        {"set-divider", "16", "9", "1"},
        {"set-divider", "3 ", "9", "1"},
        {"set-divider", "", "9", "1"},
        {"set-divider", "3", "x", "1"},
        {"set-divider", "3", "-1", "1"},
        {"set-divider", "3", "4294967296", "1"},
        {"set-divider", "3", "9", "x"},
        {"set-divider", "3", "9", "2"},
        {"set-divider", "3", "9", "-1"},
        {"set-params", "x", "40", "2"},
        {"set-params", "6", "4.5", "2"},
        {"set-params", "6", "40", "-2"},
    };
    for (const auto& args : bad) {
        ConsoleOptions o;
        std::string error;
        EXPECT_FALSE(Parse(args, o, error)) << ::testing::PrintToString(args);
        EXPECT_FALSE(error.empty());
    }
    ConsoleOptions o;
    std::string error;
    EXPECT_TRUE(Parse({"set-divider", "15", "300", "0"}, o, error)) << error; // clamped later, as the dialog does
    EXPECT_TRUE(Parse({"set-params", "999", "0", "4294967295"}, o, error)) << error;
    EXPECT_FALSE(Parse({"set-divider", "x", "9", "1"}, o, error));
    EXPECT_EQ("ROW is a coin table row, a whole number from 0 to 15, not x", error);
}

TEST(ConsoleOptions, TraceReportAndDecode) {
    ConsoleOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"monitor", "--trace", "site4.txt", "--report", "site4"}, o, error)) << error;
    EXPECT_EQ("site4.txt", o.traceFile);
    EXPECT_EQ("site4", o.reportDir);
    ConsoleOptions d;
    ASSERT_TRUE(Parse({"decode", "site4.txt"}, d, error)) << error;
    EXPECT_EQ((std::vector<std::string>{"site4.txt"}), d.arguments);
    ConsoleOptions w;
    EXPECT_FALSE(Parse({"export-log", "--report", "x"}, w, error));
    EXPECT_EQ("--report belongs to monitor", error);
    ConsoleOptions t;
    EXPECT_FALSE(Parse({"monitor", "--trace"}, t, error));
    EXPECT_EQ("--trace needs a value", error);
}

} // namespace
