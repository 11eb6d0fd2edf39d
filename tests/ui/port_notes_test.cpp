// The ducat console's English lines after its own: a port that did not
// open, a silent device, ports that exist but do not open; and the command
// line's port numbers and line speeds.
#include "link/com_port.h"
#include "link/command_mailbox.h"
#include "link/log_queue.h"
#include "link/port_settings.h"
#include "tests/support/run_environment_parts.h"
#include "ui/console/console_commands.h"
#include "ui/console/console_options.h"
#include "ui/console/console_settings.h"
#include "ui/console/console_view.h"
#include "ui/console/port_notes.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

std::unique_ptr<platform::SerialPort> RefuseAsBusy(const std::string&, uint32_t& error) {
    error = EBUSY;
    return nullptr;
}

std::string ViewOutputAfterAFailedOpen(const char* port) {
    char* data = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&data, &size);
    {
        LogQueueInit();
        ConsoleView view(out, false);
        std::strcpy(szPortName, port);
        testing_support::UsePortOpener(RefuseAsBusy);
        std::unique_ptr<platform::SerialPort> opened;
        EXPECT_FALSE(OpenComPort(opened));
        testing_support::RestoreRunEnvironment();
        LogQueuePush("COM_Thread: Thread Stopped");
        view.Tick();
        view.EndRun();
    }
    std::fclose(out);
    std::string text(data, size);
    std::free(data);
    return text;
}

// The program's line stays as it is; the English one comes right after it.
TEST(PortNotes, APortThatDidNotOpenIsNamedAfterTheProgramsLine) {
    EXPECT_EQ(u8"COM_Thread:  Невозможно открыть порт /dev/ttyUSB3, Error = 16\n"
              "/dev/ttyUSB3: in use by another program (error 16); close the program that holds it, then try again\n"
              "COM_Thread: Thread Stopped\n",
              ViewOutputAfterAFailedOpen("/dev/ttyUSB3"));
    PortOpenFailureRecord windows;
    windows.port = "\\\\.\\COM9";
    windows.error = 2;
    EXPECT_EQ("COM9: no such port (error 2); `ducat ports` lists the ports there are", OpenFailureNote(windows));
    EXPECT_TRUE(IsOpenFailureLine("COM_Thread:  Невозможно открыть порт COM6, Error = 2"));
    EXPECT_FALSE(IsOpenFailureLine("COM_Thread: Thread Stopped"));
}

TEST(PortNotes, ASilentDeviceIsNamedWithPortAddressAndSpeed) {
    std::strcpy(szPortName, "/dev/ttyUSB0");
    dwBaudRate = 19200;
    Mailbox.bDeviceAddress.store(5);
    EXPECT_EQ("no reply from address 5 at 19200 bit/s on /dev/ttyUSB0 (check cable, speed, address)",
              StatusLineNote("C_T: ***** ошибка приема размера пакета 255: - -1 байт"));
    // A head that came, but wrong, is no silence.
    EXPECT_EQ("", StatusLineNote("C_T: ***** ошибка приема размера пакета 255: - 105 байт"));
    Mailbox.bDeviceAddress.store(2);
}

TEST(PortNotes, PortsThatExistButDoNotOpenAreListedWithTheirCause) {
    char path[] = "/tmp/port-notes-XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    ::close(fd);
    std::vector<RefusedPort> refused;
    refused.push_back({{"/dev/ttyUSB-gone", "ttyUSB-gone", 1, ""}, ENOENT});
    refused.push_back({{path, "x", 2, ""}, EACCES});
    refused.push_back({{"/dev/ttyUSB1", "ttyUSB1", 3, ""}, EBUSY});
    const std::vector<std::string> lines = RefusedPortLines(refused);
    ASSERT_EQ(2u, lines.size());
    // mkstemp's file gives its group no rights: joining it would not help.
    EXPECT_EQ("COM2  " + std::string(path) +
                  ": permission denied (error 13); ask the administrator for read and write access to it",
              lines[0]);
    EXPECT_EQ("COM3  /dev/ttyUSB1: in use by another program (error 16); close the program that holds it, then try again",
              lines[1]);
    ::unlink(path);
}

bool Parse(const std::vector<std::string>& args, ConsoleOptions& o, std::string& error) {
    o = ConsoleOptions{};
    error.clear();
    return ParseConsoleOptions(args, o, error);
}

TEST(PortNotes, OnlyTheTenLineSpeedsAndCOMNumbersUpTo255) {
    ConsoleOptions o;
    std::string error;
    EXPECT_FALSE(Parse({"--speed", "1234", "monitor"}, o, error));
    EXPECT_EQ("--speed: 1234 is not a line speed; it takes 2400, 4800, 9600, 14400, 19200, 38400, 57600, 76800, "
              "115200 or 230400",
              error);
    for (const uint32_t speed : SpeedTable) {
        EXPECT_TRUE(Parse({"--speed", std::to_string(speed), "monitor"}, o, error)) << error;
        EXPECT_EQ(speed, o.speed);
    }
    EXPECT_TRUE(Parse({"--port", "9", "monitor"}, o, error)) << error;
    EXPECT_EQ("9", o.port);
    EXPECT_FALSE(Parse({"--port", "COM0", "monitor"}, o, error));
    EXPECT_EQ("--port takes a device name, or a COM port number 1..255, not COM0", error);
    EXPECT_FALSE(Parse({"--port", "256", "monitor"}, o, error));
    const std::string usage = ConsoleUsage();
    EXPECT_NE(std::string::npos, usage.find("ducat --help | --version\n")) << usage;
    EXPECT_NE(std::string::npos, usage.find("--version the program's version")) << usage;
}

// "9" and "COM9" name the same port; one that does not exist here is kept
// as "COM9", for its run to say that there is no such port.
TEST(PortNotes, ANumberAndCOMNumberNameTheSamePort) {
    ConsoleOptions options;
    std::string error;
    options.port = "1";
    ASSERT_TRUE(ApplyConsoleSettings(options, "", error)) << error;
    const std::string byNumber = szPortName;
    options.port = "COM1";
    ASSERT_TRUE(ApplyConsoleSettings(options, "", error)) << error;
    EXPECT_EQ(byNumber, szPortName);
    options.port = "COM255";
    ASSERT_TRUE(ApplyConsoleSettings(options, "", error)) << error;
    EXPECT_STREQ("COM255", szPortName);
    options.port = "255";
    ASSERT_TRUE(ApplyConsoleSettings(options, "", error)) << error;
    EXPECT_STREQ("COM255", szPortName);
}

// No port named and none opens: no run tries the start-up default ("COM6"),
// the command fails and says so.
TEST(PortNotes, WhenNoPortOpensNoRunTriesOne) {
    testing_support::UsePortOpener(RefuseAsBusy);
    ConsoleOptions options;
    std::string error;
    ASSERT_TRUE(ApplyConsoleSettings(options, "", error)) << error;
    EXPECT_STREQ("", szPortName);
    options.command = "monitor";
    EXPECT_EQ(kExitFailure, RunConsoleCommand(options));
    testing_support::RestoreRunEnvironment();
    std::strcpy(szPortName, "COM6");
}

} // namespace
