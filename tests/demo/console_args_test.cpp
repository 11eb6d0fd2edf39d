// The pollbench command line.
#include "demo/console/console_args.h"
#include "demo/console/console_report.h"

#include <gtest/gtest.h>

namespace {

bool Parse(const std::vector<std::string>& words, PollbenchArgs& args, std::string& error) {
    args = PollbenchArgs{};
    error.clear();
    return ParsePollbenchArgs(words, args, error);
}

TEST(ConsoleArgs, HostOptionsAndCommands) {
    PollbenchArgs a;
    std::string error;
    ASSERT_TRUE(Parse({"--port", "/dev/ttyUSB0", "--address", "5", "--interval", "300", "identify"}, a, error));
    EXPECT_EQ(a.port, "/dev/ttyUSB0");
    EXPECT_EQ(a.address, 5);
    EXPECT_EQ(a.intervalMs, 300);
    EXPECT_EQ(a.command, "identify");
    EXPECT_EQ(a.portNumber, 0);
    ASSERT_TRUE(Parse({"--port", "3", "teach", "12", "--enhanced"}, a, error));
    EXPECT_EQ(a.portNumber, 3);
    EXPECT_EQ(a.channel, "12");
    EXPECT_TRUE(a.enhanced);
    ASSERT_TRUE(Parse({"--port", "COM12", "poll", "--reinit", "yes"}, a, error));
    EXPECT_EQ(a.portNumber, 12);
    EXPECT_TRUE(a.reinitialize);
    ASSERT_TRUE(Parse({"search"}, a, error)); // the search needs no port
    EXPECT_EQ(a.address, 2);
    EXPECT_EQ(a.intervalMs, 200);
}

TEST(ConsoleArgs, RefusedCommandLines) {
    PollbenchArgs a;
    std::string error;
    EXPECT_FALSE(Parse({}, a, error));
    EXPECT_FALSE(Parse({"identify"}, a, error)); // no port
    EXPECT_EQ(error, "name the port with --port, or use --sim");
    EXPECT_FALSE(Parse({"--port", "x", "teach"}, a, error));
    EXPECT_FALSE(Parse({"--port", "x", "--address", "1", "poll"}, a, error));
    EXPECT_FALSE(Parse({"--port", "x", "--address", "256", "poll"}, a, error));
    EXPECT_FALSE(Parse({"--port", "x", "--interval", "abc", "poll"}, a, error));
    EXPECT_FALSE(Parse({"--port", "x", "poll", "--reinit", "maybe"}, a, error));
    EXPECT_FALSE(Parse({"--port", "x", "dance"}, a, error));
    EXPECT_FALSE(Parse({"--port"}, a, error));
    EXPECT_FALSE(Parse({"--port", "0", "poll"}, a, error));
    EXPECT_FALSE(Parse({"--port", "COM99999999999999999999", "poll"}, a, error));
}

// A number on the command line is digits only; the window's Channel box
// reads any text, but "teach x" is a typing error, not channel 0.
TEST(ConsoleArgs, NumbersThatAreNoNumbersAreRefused) {
    PollbenchArgs a;
    std::string error;
    EXPECT_FALSE(Parse({"--port", "x", "teach", "x"}, a, error));
    EXPECT_EQ(error, "teach takes a channel 0..255, not x");
    EXPECT_FALSE(Parse({"--port", "x", "teach", "-1"}, a, error));
    EXPECT_FALSE(Parse({"--port", "x", "teach", "256"}, a, error));
    EXPECT_FALSE(Parse({"--port", "x", "teach", "4294967296"}, a, error));
    EXPECT_FALSE(Parse({"--port", "x", "teach", "3x"}, a, error));
    EXPECT_FALSE(Parse({"--port", "x", "--address", " 5", "poll"}, a, error));
    EXPECT_FALSE(Parse({"--port", "x", "--address", "+5", "poll"}, a, error));
    EXPECT_FALSE(Parse({"--port", "x", "--interval", "4294967296", "poll"}, a, error));
    ASSERT_TRUE(Parse({"--port", "x", "teach", "255"}, a, error)) << error;
    EXPECT_EQ(a.channel, "255");
}

#if POLLBENCH_WITH_SIM
TEST(ConsoleArgs, SimOptionsFollowSimUntilTheCommand) {
    PollbenchArgs a;
    std::string error;
    ASSERT_TRUE(Parse({"--address", "4", "--sim", "--coin-rate", "2", "--no-echo", "--product", "QX9", "poll"}, a, error))
        << error;
    EXPECT_TRUE(a.sim);
    EXPECT_EQ(a.command, "poll");
    EXPECT_DOUBLE_EQ(a.simConfig.coinsPerSecond, 2.0);
    EXPECT_FALSE(a.simConfig.echo);
    EXPECT_EQ(a.simConfig.productCode, "QX9");
    EXPECT_EQ(a.simConfig.address, 4); // the host's address unless given
    ASSERT_TRUE(Parse({"--sim", "--address", "9", "identify"}, a, error));
    EXPECT_EQ(a.simConfig.address, 9);
    EXPECT_EQ(a.address, 2);
    EXPECT_FALSE(Parse({"--sim", "--flags", "300", "identify"}, a, error));
}
#endif

TEST(ConsoleReport, TerminalTextDropsCarriageReturns) {
    EXPECT_EQ(TerminalText("ABC - XYZ\r\nSN: 123\r\n"), "ABC - XYZ\nSN: 123\n");
    // A lone control byte is no line break: it is shown as an escape.
    EXPECT_EQ(TerminalText("a\rb\nc\x1b"), "a\\x0db\\x0ac\\x1b");
}

TEST(ConsoleArgs, TraceReportScanAndDecode) {
    PollbenchArgs a;
    std::string error;
    ASSERT_TRUE(Parse({"--trace", "bench.txt", "--port", "5", "poll", "--report", "session 1"}, a, error)) << error;
    EXPECT_EQ("bench.txt", a.traceFile);
    EXPECT_EQ("session 1", a.reportDir);
    ASSERT_TRUE(Parse({"decode", "site.txt"}, a, error)) << error; // no port wanted
    EXPECT_EQ("site.txt", a.file);
    ASSERT_TRUE(Parse({"--port", "5", "scan-bus"}, a, error)) << error;
    EXPECT_EQ("scan-bus", a.command);
    EXPECT_FALSE(Parse({"decode"}, a, error));
    EXPECT_EQ("decode needs a trace or capture file", error);
    EXPECT_FALSE(a.thorough);
    EXPECT_FALSE(Parse({"scan-bus"}, a, error)); // no port
    PollbenchArgs thorough;
    ASSERT_TRUE(Parse({"--port", "5", "scan-bus", "--thorough"}, thorough, error)) << error;
    EXPECT_TRUE(thorough.thorough);
    PollbenchArgs other;
    EXPECT_FALSE(Parse({"--port", "5", "identify", "--thorough"}, other, error)); // scan-bus's only
    EXPECT_FALSE(Parse({"--port", "5", "identify", "--report", "x"}, a, error)); // a report is poll's
    EXPECT_FALSE(Parse({"--port", "5", "--trace"}, a, error));
    EXPECT_EQ("--trace needs a value", error);
}

} // namespace

namespace {

TEST(ConsoleArgs, ANumberIsACOMPortAndTheHelpNamesVersion) {
    PollbenchArgs a;
    std::string error;
    ASSERT_TRUE(Parse({"--port", "9", "identify"}, a, error)) << error;
    EXPECT_EQ(a.portNumber, 9);
    EXPECT_EQ(a.port, "9");
    EXPECT_FALSE(Parse({"--port", "COM0", "identify"}, a, error));
    EXPECT_EQ(error, "--port takes a device name, or a COM port number 1..255");
    EXPECT_FALSE(Parse({"--port", "256", "identify"}, a, error));
    const std::string usage = PollbenchUsage();
    EXPECT_NE(std::string::npos, usage.find("pollbench --help | --version\n")) << usage;
    EXPECT_NE(std::string::npos, usage.find("--version the program's version")) << usage;
}

TEST(ConsoleArgs, TheHelpTellsTheDefaultsTheProgramHas) {
    const std::string usage = PollbenchUsage();
    EXPECT_NE(std::string::npos, usage.find("--address 2..255\n(default " + std::to_string(kDefaultDeviceAddress) + ")"))
        << usage;
    EXPECT_NE(std::string::npos, usage.find("between polls (default " + std::to_string(kDefaultPollIntervalMs) + ")"))
        << usage;
}

} // namespace
