#include "tests/support/fake_port_opener.h"

#include "link/port_settings.h"
#include "sim/pty/pty_pair.h"
#include "platform/serial_port.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

void SetPortTable(std::initializer_list<const char*> names) {
    ComPortTable = ComPortList{};
    for (const char* name : names) std::strcpy(ComPortTable.entries[ComPortTable.count++], name);
}

class PortSettings : public ::testing::Test {
protected:
    void SetUp() override {
        std::strcpy(szPortName, "COM6");
        iPortIndex = 1;
        iSpeedIndex = 6;
        ::unsetenv("CCTALK_PORTS");
    }
    void TearDown() override { ::unsetenv("CCTALK_PORTS"); }
};

TEST_F(PortSettings, SpeedTableAndItsFallback) {
    const uint32_t expected[] = {2400, 4800, 9600, 14400, 19200, 38400, 57600, 76800, 115200, 230400};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(expected[i], SpeedForIndex(i)) << i;
    EXPECT_EQ(9600u, SpeedForIndex(10));
    EXPECT_EQ(9600u, SpeedForIndex(-1));
    EXPECT_EQ(9600u, SpeedForIndex(1000));
}

TEST_F(PortSettings, IndexBeyondTheListSelectsTheLastPort) {
    SetPortTable({"\\\\.\\COM1", "\\\\.\\COM3", "\\\\.\\COM10"});
    iPortIndex = 5;
    iSpeedIndex = 10;
    ChooseStartupPort();
    EXPECT_EQ(2, iPortIndex);
    EXPECT_STREQ("\\\\.\\COM10", szPortName);
    EXPECT_EQ(9600u, dwBaudRate);
}

TEST_F(PortSettings, IndexInsideTheListIsKept) {
    SetPortTable({"\\\\.\\COM1", "\\\\.\\COM3"});
    iSpeedIndex = 9;
    ChooseStartupPort();
    EXPECT_EQ(1, iPortIndex);
    EXPECT_STREQ("\\\\.\\COM3", szPortName);
    EXPECT_EQ(230400u, dwBaudRate);
}

TEST_F(PortSettings, NegativeIndexSelectsTheFirstPort) {
    SetPortTable({"\\\\.\\COM1", "\\\\.\\COM3"});
    iPortIndex = -1;
    ChooseStartupPort();
    EXPECT_EQ(0, iPortIndex);
    EXPECT_STREQ("\\\\.\\COM1", szPortName);
}

TEST_F(PortSettings, NoPortKeepsTheOldName) {
    ComPortTable = ComPortList{};
    iSpeedIndex = -1;
    ChooseStartupPort();
    EXPECT_STREQ("COM6", szPortName);
    EXPECT_EQ(1, iPortIndex);
    EXPECT_EQ(9600u, dwBaudRate);
}

TEST_F(PortSettings, ScanListsPortsThatOpenAndLeavesHeldOnesOut) {
    sim::PtyPair first, held, third;
    ASSERT_TRUE(first.Ok() && held.Ok() && third.Ok());
    const std::string list = first.SlavePath() + ":" + held.SlavePath() + ":" + third.SlavePath();
    ::setenv("CCTALK_PORTS", list.c_str(), 1);
    uint32_t error = 0;
    auto holder = platform::OpenSerialPort(held.SlavePath(), error);
    ASSERT_NE(nullptr, holder);

    const auto display = ScanComPorts();
    ASSERT_GE(ComPortTable.count, 2);
    ASSERT_EQ(static_cast<size_t>(ComPortTable.count), display.size());
    EXPECT_EQ(first.SlavePath(), ComPortTable.entries[0]);
    EXPECT_EQ(third.SlavePath(), ComPortTable.entries[1]);
    EXPECT_LE(ComPortTable.count, 16);

    // The scan closed what it opened: the port opens again at once.
    auto again = platform::OpenSerialPort(first.SlavePath(), error);
    EXPECT_NE(nullptr, again);
}

TEST_F(PortSettings, ScanKeepsLongStableNamesAndSaysWhichDeviceTheyAre) {
    sim::PtyPair pty, other;
    ASSERT_TRUE(pty.Ok() && other.Ok());
    // As long as a /dev/serial/by-id name, far past the 19 characters of "\\.\COM%d".
    const std::string link =
        "/tmp/ducat-scan-usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0-" + std::to_string(::getpid());
    ASSERT_TRUE(pty.LinkAs(link));
    // The pty named twice is one device: listed once, by its first name.
    ::setenv("CCTALK_PORTS", (link + ":" + pty.SlavePath() + ":" + other.SlavePath()).c_str(), 1);
    std::vector<platform::PortName> found;
    const auto display = ScanComPorts(&found);
    ASSERT_GE(ComPortTable.count, 2);
    ASSERT_EQ(static_cast<size_t>(ComPortTable.count), found.size());
    EXPECT_EQ(link, ComPortTable.entries[0]);
    EXPECT_EQ(other.SlavePath(), ComPortTable.entries[1]);
    EXPECT_EQ(1, found[0].number);
    EXPECT_EQ(pty.SlavePath(), found[0].target);
    EXPECT_EQ(2, found[1].number);
    EXPECT_EQ(display[0], found[0].display);

    iPortIndex = 0;
    ChooseStartupPort();
    EXPECT_EQ(link, szPortName);
}

TEST_F(PortSettings, ScanKeepsTheFirstSixteenPortsInOrder) {
    std::vector<std::string> paths;
    std::string list;
    for (int i = 0; i < 20; ++i) {
        paths.push_back("/tmp/dcs" + std::to_string(::getpid() % 100000) + "_" + std::to_string(i));
        std::FILE* f = std::fopen(paths.back().c_str(), "w");
        ASSERT_NE(nullptr, f);
        std::fclose(f);
        list += (i ? ":" : "") + paths.back();
    }
    ::setenv("CCTALK_PORTS", list.c_str(), 1);
    {
        testing_support::FakePortOpener opener; // every candidate opens
        const auto display = ScanComPorts();
        ASSERT_EQ(16, ComPortTable.count);
        ASSERT_EQ(16u, display.size());
        for (int i = 0; i < 16; ++i) EXPECT_EQ(paths[i], ComPortTable.entries[i]);
        EXPECT_EQ(16, opener.log.openings);
        EXPECT_EQ(16, std::count(opener.log.calls.begin(), opener.log.calls.end(), "Close"));
    }
    for (const auto& path : paths) std::remove(path.c_str());
}

} // namespace

TEST_F(PortSettings, ThePortNameIsSetWholeOrNotAtAll) {
    const std::string longest(kPortNameChars, 'p');
    ASSERT_TRUE(SetPortName(longest));
    EXPECT_EQ(longest, szPortName);
    // One more character would be cut and name another device: refused, the name kept.
    EXPECT_FALSE(SetPortName(longest + "q"));
    EXPECT_EQ(longest, szPortName);
    // A shorter name leaves nothing of the longer one behind it.
    ASSERT_TRUE(SetPortName("COM9"));
    EXPECT_STREQ("COM9", szPortName);
    EXPECT_EQ('\0', szPortName[kPortNameChars]);
    ASSERT_TRUE(SetPortName(""));
    EXPECT_STREQ("", szPortName);
}
