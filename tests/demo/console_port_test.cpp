// pollbench when the device cannot be reached: a port that does not exist, a
// port another program holds and a device that never answers are each told
// apart in one line, instead of "no device answered" for all of them.
#include "demo/console/console_commands.h"
#include "demo/console/console_port_notes.h"
#include "platform/serial_port.h"
#include "sim/pty/pty_pair.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace {

std::string Output(const std::function<int(std::FILE*)>& run, int& status) {
    char* data = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&data, &size);
    status = run(out);
    std::fclose(out);
    std::string text(data, size);
    std::free(data);
    return text;
}

PollbenchArgs ArgsFor(const std::string& port) {
    PollbenchArgs args;
    args.port = port;
    args.address = 7;
    args.intervalMs = 10;
    return args;
}

TEST(ConsolePort, MissingPortIsNamedForIdentifyAndTeach) {
    PollbenchArgs args = ArgsFor("/dev/ttyUSB-nosuch");
    int status = -1;
    std::string out = Output([&](std::FILE* f) { return RunIdentify(args, f); }, status);
    EXPECT_EQ(1, status);
    EXPECT_EQ("/dev/ttyUSB-nosuch: no such port (error 2); `pollbench search` lists the ports there are\n", out);
    args.channel = "3";
    out = Output([&](std::FILE* f) { return RunTeach(args, f); }, status);
    EXPECT_EQ(1, status);
    EXPECT_EQ("/dev/ttyUSB-nosuch: no such port (error 2); `pollbench search` lists the ports there are\n", out);
}

TEST(ConsolePort, ACOMNumberThatNamesNoPortSaysSo) {
    PollbenchArgs args = ArgsFor("COM250");
    args.portNumber = 250;
    int status = -1;
    const std::string out = Output([&](std::FILE* f) { return RunIdentify(args, f); }, status);
    EXPECT_EQ(1, status);
    EXPECT_EQ("COM250: no such port; `pollbench search` lists the ports there are\n", out);
}

TEST(ConsolePort, PortHeldByAnotherProgramIsInUse) {
    sim::PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    uint32_t error = 0;
    const auto holder = platform::OpenSerialPort(pty.SlavePath(), error); // flock + TIOCEXCL
    ASSERT_NE(nullptr, holder);
    const PollbenchArgs args = ArgsFor(pty.SlavePath());
    int status = -1;
    const std::string out = Output([&](std::FILE* f) { return RunIdentify(args, f); }, status);
    EXPECT_EQ(1, status);
    EXPECT_EQ(pty.SlavePath() + ": in use by another program (error 16); close the program that holds it, then try again\n",
              out);
}

// The port opens, nobody answers: the address and the speed are named.
TEST(ConsolePort, SilentDeviceIsNamedWithAddressAndSpeed) {
    sim::PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    const PollbenchArgs args = ArgsFor(pty.SlavePath());
    int status = -1;
    const std::string out = Output([&](std::FILE* f) { return RunIdentify(args, f); }, status);
    EXPECT_EQ(1, status);
    EXPECT_EQ("no reply from address 7 at 9600 bit/s on " + pty.SlavePath() + " (check cable, speed, address)\n", out);
}

TEST(ConsolePort, ACOMNumberShowsTheDeviceItStandsFor) {
    CCctDriver driver;
    PollbenchArgs args = ArgsFor("3");
    args.portNumber = 3;
    driver.portName = "/dev/ttyUSB0";
    EXPECT_EQ("COM3 (/dev/ttyUSB0)", PortForMessages(driver, args));
    driver.portName = "\\\\.\\COM3"; // Windows' own name says no more
    EXPECT_EQ("COM3", PortForMessages(driver, args));
}

} // namespace
