// `pollbench identify` against a device whose texts hold NULs and terminal
// control sequences: everything is printed, the bytes shown as escapes; and
// the command hands its driver the program's trace.
#include "demo/console/console_commands.h"
#include "demo/trace/program_trace.h"
#include "sim/standard/standard_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

std::string IdentifyOutput(const sim::StandardConfig& config, int& status) {
    sim::StandardLine line(config);
    EXPECT_TRUE(line.Ok());
    PollbenchArgs args;
    args.port = line.HostPath();
    args.address = config.address;
    char* data = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&data, &size);
    status = RunIdentify(args, out);
    std::fclose(out);
    std::string text(data, size);
    std::free(data);
    return text;
}

TEST(ConsoleIdentify, DeviceTextsWithNulAndEscapesArePrintedWhole) {
    sim::StandardConfig config;
    config.manufacturer = std::string("AB\0CD", 5);
    config.productCode = "\x1b]0;owned\a";
    config.revision = std::string("1.0\0\r\n", 6);
    config.coins[0].id = std::string("EU\0\x1b[2J", 7);
    int status = -1;
    const std::string out = IdentifyOutput(config, status);
    EXPECT_EQ(0, status) << out;
    EXPECT_EQ(std::string::npos, out.find('\0'));
    EXPECT_EQ(std::string::npos, out.find('\x1b'));
    EXPECT_NE(std::string::npos, out.find("AB\\x00CD - \\x1b]0;owned\\x07\nSN: 123456\nSoftw.: 1.0\\x00\\x0d\\x0a\nTE\n"))
        << out;
    EXPECT_NE(std::string::npos, out.find("  1  EU\\x00\\x1b[2J"));
    EXPECT_NE(std::string::npos, out.find("  2  EU010A"));
    EXPECT_NE(std::string::npos, out.find("\ncontrols:"));
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ConsoleIdentify, TheCommandsDriverTracesIntoTheProgramsTrace) {
    const std::string path = ::testing::TempDir() + "identify-trace-" + std::to_string(::getpid()) + ".txt";
    EXPECT_FALSE(ProgramTraceHook()) << "no trace file, no hook";
    std::string error;
    ASSERT_TRUE(StartProgramTrace(path, error)) << error;
    EXPECT_TRUE(ProgramTraceHook());
    int status = -1;
    IdentifyOutput(sim::StandardConfig{}, status);
    StopProgramTrace();
    EXPECT_EQ(0, status);
    const std::string traced = FileText(path);
    EXPECT_NE(std::string::npos, traced.find("host   02 00 01 FE FF | Simple poll to 2\n")) << traced;
    EXPECT_NE(std::string::npos, traced.find("from 2: manufacturer \"SIM\"")) << traced;

    // With the file closed a command's driver is handed no hook: nothing more is written.
    IdentifyOutput(sim::StandardConfig{}, status);
    EXPECT_EQ(traced, FileText(path));
    std::remove(path.c_str());
}

} // namespace
