// Where the console's runs go: a port named on the command line, however
// long its stable name, or by its COM number.
#include "link/port_settings.h"
#include "sim/pty/pty_pair.h"
#include "ui/console/console_settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

class ConsolePort : public ::testing::Test {
protected:
    void SetUp() override {
        std::strcpy(szPortName, "COM6");
        ::unsetenv("CCTALK_PORTS");
    }
    void TearDown() override {
        ::unsetenv("CCTALK_PORTS");
        ::unsetenv("CCTALK_SERIAL_BY_ID");
    }
};

TEST_F(ConsolePort, TakesAStableNameLongerThanAWindowsPortName) {
    ConsoleOptions options;
    options.port = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
    std::string error;
    ASSERT_TRUE(ApplyConsoleSettings(options, "", error)) << error;
    EXPECT_EQ(options.port, szPortName);

    options.port = "/dev/" + std::string(kPortNameChars, 'x'); // longer than any path may be
    EXPECT_FALSE(ApplyConsoleSettings(options, "", error));
    EXPECT_NE(std::string::npos, error.find("longer than")) << error;
    EXPECT_STREQ("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", szPortName);
}

TEST_F(ConsolePort, ANumberNamesTheStableNameOfThatPort) {
    char folder[] = "/tmp/by-id-XXXXXX";
    ASSERT_NE(nullptr, ::mkdtemp(folder));
    sim::PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    const std::string link = std::string(folder) + "/usb-Silicon_Labs_CP2102_USB_to_UART_0001-if00-port0";
    ASSERT_EQ(0, ::symlink(pty.SlavePath().c_str(), link.c_str()));
    ::setenv("CCTALK_SERIAL_BY_ID", folder, 1);

    ConsoleOptions options;
    options.port = "1";
    std::string error;
    EXPECT_TRUE(ApplyConsoleSettings(options, "", error)) << error;
    EXPECT_EQ(link, szPortName);

    ::unlink(link.c_str());
    ::rmdir(folder);
}

} // namespace
