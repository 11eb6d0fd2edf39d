// The Linux port list: named ports first, then the stable /dev/serial/by-id
// names resolved to their devices, each device once.
#include "platform/port_names.h"
#include "sim/pty/pty_pair.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// A stand-in for /dev/serial/by-id: a temporary folder of links to ptys.
class StableNames : public ::testing::Test {
protected:
    void SetUp() override {
        char folder[] = "/tmp/by-id-XXXXXX";
        ASSERT_NE(nullptr, ::mkdtemp(folder));
        byIdFolder = folder;
        ::setenv("CCTALK_SERIAL_BY_ID", byIdFolder.c_str(), 1);
        ::unsetenv("CCTALK_PORTS");
        ASSERT_TRUE(first.Ok() && second.Ok());
    }
    void TearDown() override {
        for (const auto& link : links) ::unlink(link.c_str());
        ::rmdir(byIdFolder.c_str());
        ::unsetenv("CCTALK_SERIAL_BY_ID");
        ::unsetenv("CCTALK_PORTS");
    }
    std::string Link(const std::string& name, const std::string& to) {
        const std::string path = byIdFolder + "/" + name;
        EXPECT_EQ(0, ::symlink(to.c_str(), path.c_str()));
        links.push_back(path);
        return path;
    }

    std::string byIdFolder;
    std::vector<std::string> links;
    sim::PtyPair first, second;
};

TEST_F(StableNames, ByIdNamesComeAfterTheNamedPortsAndNoDeviceTwice) {
    const std::string adapterB = Link("usb-FTDI_FT232R_USB_UART_B7712CQ0-if00-port0", second.SlavePath());
    const std::string adapterA = Link("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", first.SlavePath());
    Link("usb-Prolific_gone-if00-port0", "/dev/no-such-adapter"); // unplugged: left out
    Link("usb-FTDI_same_adapter_again-if00", second.SlavePath()); // a second name of B
    ::setenv("CCTALK_PORTS", first.SlavePath().c_str(), 1);

    const auto ports = platform::SerialPortCandidates(1, 20);
    ASSERT_GE(ports.size(), 2u);
    EXPECT_EQ(first.SlavePath(), ports[0].device); // named first; its by-id name is the same device
    EXPECT_EQ(1, ports[0].number);
    EXPECT_EQ("", ports[0].target);
    EXPECT_EQ(adapterB, ports[1].device);
    EXPECT_EQ(2, ports[1].number);
    EXPECT_EQ(second.SlavePath(), ports[1].target);
    EXPECT_EQ("usb-FTDI_FT232R_USB_UART_B7712CQ0-if00-port0", ports[1].display);
    EXPECT_GT(ports[1].device.size(), 19u);
    for (size_t i = 2; i < ports.size(); ++i) {
        EXPECT_NE(first.SlavePath(), ports[i].target) << ports[i].device;
        EXPECT_NE(second.SlavePath(), ports[i].target) << ports[i].device;
        EXPECT_EQ(std::string::npos, ports[i].device.find(byIdFolder)) << ports[i].device;
    }
    EXPECT_EQ(adapterB, platform::ComPortDevice(2));
    EXPECT_EQ("COM2  " + adapterB + "  (" + second.SlavePath() + ")", platform::DescribePort(ports[1]));
    EXPECT_EQ("COM1  " + first.SlavePath(), platform::DescribePort(ports[0]));
}

TEST_F(StableNames, EveryStableNameInNameOrderWhenNothingIsNamed) {
    const std::string b = Link("usb-b-port0", second.SlavePath());
    const std::string a = Link("usb-a-port0", first.SlavePath());
    const auto ports = platform::SerialPortCandidates(1, 1);
    ASSERT_EQ(1u, ports.size()); // the limit holds
    EXPECT_EQ(a, ports[0].device);
    EXPECT_EQ(a, platform::ComPortDevice(1));
    EXPECT_EQ(b, platform::ComPortDevice(2));
    EXPECT_EQ("", platform::ComPortDevice(0));
}

} // namespace
