#include "ui/console/console_options.h"

#include <gtest/gtest.h>

namespace {

bool Parse(std::vector<std::string> args, ConsoleOptions& o, std::string& error) {
    return ParseConsoleOptions(args, o, error);
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
    EXPECT_FALSE(o.sim);
}

TEST(ConsoleOptions, SimOptionsGoToTheVirtualAcceptor) {
    ConsoleOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"monitor", "--sim", "--coins-per-minute", "60", "--log-pages", "64", "--fault",
                       "refuse:divider:3:9:1", "--sim-serial", "4000000000"},
                      o, error))
        << error;
    EXPECT_TRUE(o.sim);
    EXPECT_EQ(60.0, o.simOptions.coinsPerMinute);
    EXPECT_EQ(64u, o.simOptions.logPages);
    EXPECT_EQ(4000000000ll, o.simOptions.serial);
    ASSERT_EQ(1u, o.simOptions.faults.size());
    const sim::DucatFaultRule& rule = o.simOptions.faults[0];
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
