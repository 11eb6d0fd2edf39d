// Why a port did not open, in the operator's words: each system's error
// numbers, the line for each cause, the group that owns a device, and the
// failures the POSIX port really gives (missing, held by another opener).
#include "platform/port_names.h"
#include "platform/port_open_failure.h"
#include "platform/serial_port.h"
#include "sim/pty/pty_pair.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <grp.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using platform::OpenCause;

TEST(PortOpenCause, PosixNumbers) {
    EXPECT_EQ(OpenCause::NoSuchPort, platform::PosixOpenCause(ENOENT));
    EXPECT_EQ(OpenCause::NoSuchPort, platform::PosixOpenCause(ENODEV));
    EXPECT_EQ(OpenCause::NoSuchPort, platform::PosixOpenCause(ENXIO));
    EXPECT_EQ(OpenCause::NoSuchPort, platform::PosixOpenCause(ENOTDIR));
    EXPECT_EQ(OpenCause::PermissionDenied, platform::PosixOpenCause(EACCES));
    EXPECT_EQ(OpenCause::PermissionDenied, platform::PosixOpenCause(EPERM));
    EXPECT_EQ(OpenCause::InUse, platform::PosixOpenCause(EBUSY));
    EXPECT_EQ(OpenCause::InUse, platform::PosixOpenCause(EWOULDBLOCK));
    EXPECT_EQ(OpenCause::InUse, platform::PosixOpenCause(EAGAIN));
    EXPECT_EQ(OpenCause::NotResponding, platform::PosixOpenCause(EIO));
    EXPECT_EQ(OpenCause::NotSerial, platform::PosixOpenCause(ENOTTY));
    EXPECT_EQ(OpenCause::Other, platform::PosixOpenCause(EINVAL));
    EXPECT_EQ(OpenCause::Other, platform::PosixOpenCause(0));
}

TEST(PortOpenCause, WindowsNumbers) {
    EXPECT_EQ(OpenCause::NoSuchPort, platform::WindowsOpenCause(2));   // file not found
    EXPECT_EQ(OpenCause::NoSuchPort, platform::WindowsOpenCause(3));   // path not found
    EXPECT_EQ(OpenCause::NoSuchPort, platform::WindowsOpenCause(123)); // invalid name
    EXPECT_EQ(OpenCause::InUse, platform::WindowsOpenCause(5));        // access denied: another program has it
    EXPECT_EQ(OpenCause::InUse, platform::WindowsOpenCause(32));       // sharing violation
    EXPECT_EQ(OpenCause::NotResponding, platform::WindowsOpenCause(31));
    EXPECT_EQ(OpenCause::NotResponding, platform::WindowsOpenCause(121));
    EXPECT_EQ(OpenCause::NotResponding, platform::WindowsOpenCause(1167));
    EXPECT_EQ(OpenCause::NotSerial, platform::WindowsOpenCause(1));
    EXPECT_EQ(OpenCause::Other, platform::WindowsOpenCause(13));       // EACCES's number means nothing here
    EXPECT_EQ(OpenCause::Other, platform::WindowsOpenCause(87));
}

std::string Line(const std::string& port, uint32_t error, OpenCause cause, const std::string& group = "") {
    platform::OpenFailure f;
    f.port = port;
    f.error = error;
    f.cause = cause;
    f.group = group;
    return platform::OpenFailureLine(f, "ducat ports");
}

TEST(PortOpenFailureLine, NamesThePortTheCauseAndTheRemedy) {
    EXPECT_EQ("/dev/ttyUSB9: no such port (error 2); `ducat ports` lists the ports there are",
              Line("/dev/ttyUSB9", 2, OpenCause::NoSuchPort));
    EXPECT_EQ("/dev/ttyS0: permission denied (error 13); it belongs to group dialout: join it with "
              "`sudo usermod -aG dialout $USER`, then log in again",
              Line("/dev/ttyS0", 13, OpenCause::PermissionDenied, "dialout"));
    EXPECT_EQ("/dev/ttyS0: permission denied (error 1); ask the administrator for read and write access to it",
              Line("/dev/ttyS0", 1, OpenCause::PermissionDenied));
    EXPECT_EQ("COM3: in use by another program (error 5); close the program that holds it, then try again",
              Line("COM3", 5, OpenCause::InUse));
    EXPECT_EQ("COM4: the adapter does not respond (error 121); unplug the adapter and plug it in again",
              Line("COM4", 121, OpenCause::NotResponding));
    EXPECT_EQ("/tmp/x: not a serial port (error 25); `ducat ports` lists the ports there are",
              Line("/tmp/x", 25, OpenCause::NotSerial));
    EXPECT_EQ("/dev/ttyS1: cannot be opened (error 22); `ducat ports` lists the ports there are",
              Line("/dev/ttyS1", 22, OpenCause::Other));
    // A COM number that names no port here has no system error to show.
    EXPECT_EQ("COM9: no such port; `ducat ports` lists the ports there are", Line("COM9", 0, OpenCause::NoSuchPort));
}

TEST(PortOpenFailureLine, SilentDevice) {
    EXPECT_EQ("no reply from address 2 at 9600 bit/s on /dev/ttyUSB0 (check cable, speed, address)",
              platform::NoReplyLine("/dev/ttyUSB0", 2, 9600));
}

// A group other than the superuser's that this process may give a file.
gid_t SomeOrdinaryGroup() {
    if (::getegid() != 0) return ::getegid();
    ::setgrent();
    gid_t gid = 0;
    while (const group* g = ::getgrent()) {
        if (g->gr_gid != 0) {
            gid = g->gr_gid;
            break;
        }
    }
    ::endgrent();
    return gid;
}

// As root the permission check is bypassed: the group is looked up on a
// file whose group is known, and the wording is given EACCES directly.
TEST(PortOpenFailure, PermissionDeniedNamesTheGroupThatMayOpenTheDevice) {
    char path[] = "/tmp/port-group-XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    ::close(fd);
    const gid_t gid = SomeOrdinaryGroup();
    ASSERT_NE(0u, gid);
    ASSERT_EQ(0, ::chown(path, static_cast<uid_t>(-1), gid));
    ASSERT_EQ(0, ::chmod(path, 0660)); // as the dialout group's ports are
    const group* own = ::getgrgid(gid);
    ASSERT_NE(nullptr, own);
    const std::string groupName = own->gr_name;
    EXPECT_EQ(groupName, platform::OwningGroup(path));
    EXPECT_EQ(groupName, platform::JoinableGroup(path));
    const platform::OpenFailure f = platform::DescribeOpenFailure("COM1", path, EACCES);
    EXPECT_EQ(OpenCause::PermissionDenied, f.cause);
    EXPECT_EQ(groupName, f.group);
    EXPECT_NE(std::string::npos, platform::OpenFailureLine(f, "x").find("`sudo usermod -aG " + groupName + " $USER`"));

    // A group without read and write gains nothing by joining it.
    ASSERT_EQ(0, ::chmod(path, 0640));
    EXPECT_EQ(groupName, platform::OwningGroup(path));
    EXPECT_EQ("", platform::JoinableGroup(path));
    EXPECT_EQ("", platform::DescribeOpenFailure("COM1", path, EACCES).group);
    ::unlink(path);
    EXPECT_EQ("", platform::OwningGroup(path));
}

TEST(PortOpenFailure, MissingAndHeldPortsAsTheSystemReportsThem) {
    uint32_t error = 0;
    EXPECT_EQ(nullptr, platform::OpenSerialPort("/dev/ttyUSB-nosuch", error));
    platform::OpenFailure f = platform::DescribeOpenFailure("/dev/ttyUSB-nosuch", "/dev/ttyUSB-nosuch", error);
    EXPECT_EQ(OpenCause::NoSuchPort, f.cause);
    EXPECT_EQ(static_cast<uint32_t>(ENOENT), f.error);

    sim::PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    auto holder = platform::OpenSerialPort(pty.SlavePath(), error);
    ASSERT_NE(nullptr, holder);
    EXPECT_EQ(nullptr, platform::OpenSerialPort(pty.SlavePath(), error));
    f = platform::DescribeOpenFailure(pty.SlavePath(), pty.SlavePath(), error);
    EXPECT_EQ(OpenCause::InUse, f.cause) << error;

    // A COM number that names no device here.
    f = platform::DescribeOpenFailure("COM200", "", 0);
    EXPECT_EQ(OpenCause::NoSuchPort, f.cause);
}

TEST(ComPortNumber, BareOrWithComAndInRange) {
    int n = -1;
    EXPECT_TRUE(platform::ReadComPortNumber("9", n));
    EXPECT_EQ(9, n);
    EXPECT_TRUE(platform::ReadComPortNumber("COM9", n));
    EXPECT_EQ(9, n);
    EXPECT_TRUE(platform::ReadComPortNumber("COM255", n));
    EXPECT_EQ(255, n);
    for (const char* outOfRange : {"0", "COM0", "256", "00009", "99999999999999999999"}) {
        EXPECT_TRUE(platform::ReadComPortNumber(outOfRange, n)) << outOfRange;
        EXPECT_EQ(0, n) << outOfRange;
    }
    for (const char* name : {"/dev/ttyS9", "COM", "com9", "COM9x", "", "-1"}) {
        EXPECT_FALSE(platform::ReadComPortNumber(name, n)) << name;
    }
}

} // namespace
