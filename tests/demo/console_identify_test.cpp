// `pollbench identify` against a device whose texts hold NULs and terminal
// control sequences: everything is printed, the bytes shown as escapes.
#include "demo/console/console_commands.h"
#include "sim/standard/standard_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

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

} // namespace
