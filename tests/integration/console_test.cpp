// The `ducat` program end to end, each run with its own virtual acceptor
// (--sim) in a fresh folder.
#include "coindata/files/checksum_envelope.h"
#include "coindata/files/coin_description_file.h"
#include "coindata/records/config_record.h"
#include "link/checksums.h"
#include "platform/serial_port.h"
#include "sim/pty/pty_pair.h"
#include "tests/support/coin_description_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int kRunLimitMs = 30000;

struct Finished {
    int exitStatus = -1;
    std::string output;
};

class DucatProgram : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("ducat-e2e-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    // Runs ducat in the folder; sends Ctrl+C once `interruptOn` was printed.
    Finished Run(std::vector<std::string> args, const std::string& interruptOn = "") {
        args.insert(args.begin(), DUCAT_BINARY);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        int pipeFds[2];
        EXPECT_EQ(0, ::pipe(pipeFds));
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        const std::string old = std::filesystem::current_path().string();
        std::filesystem::current_path(folder_);
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        std::filesystem::current_path(old);
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeFds[1]);
        Finished f;
        if (spawned != 0) {
            ::close(pipeFds[0]);
            ADD_FAILURE() << "cannot start " << argv[0];
            return f;
        }
        Collect(pid, pipeFds[0], interruptOn, f.output);
        ::close(pipeFds[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        f.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return f;
    }

    std::string File(const std::string& name) const { return (folder_ / name).string(); }

    std::string Text(const std::string& name) const {
        const std::vector<uint8_t> bytes = ReadBytes(File(name));
        return std::string(bytes.begin(), bytes.end());
    }

    static std::vector<uint8_t> ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }
    static void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
    }

    static bool Has(const std::string& output, const std::string& line) {
        return output.find(line + "\n") != std::string::npos;
    }

private:
    // Reads the child's output until it closes; interrupts it once.
    static void Collect(pid_t pid, int fd, const std::string& interruptOn, std::string& output) {
        const auto start = std::chrono::steady_clock::now();
        bool interrupted = false;
        char buffer[4096];
        for (;;) {
            pollfd p{fd, POLLIN, 0};
            const int ready = ::poll(&p, 1, 100);
            if (ready > 0) {
                const ssize_t n = ::read(fd, buffer, sizeof buffer);
                if (n <= 0) return;
                output.append(buffer, static_cast<size_t>(n));
            }
            if (!interrupted && !interruptOn.empty() && output.find(interruptOn) != std::string::npos) {
                ::kill(pid, SIGINT);
                interrupted = true;
            }
            if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(kRunLimitMs)) {
                ADD_FAILURE() << "ducat did not end:\n" << output;
                ::kill(pid, SIGKILL);
                return;
            }
        }
    }

    std::filesystem::path folder_;
};

std::string LastLine(const std::string& output) {
    const size_t end = output.find_last_not_of('\n');
    if (end == std::string::npos) return "";
    const size_t start = output.rfind('\n', end);
    return output.substr(start == std::string::npos ? 0 : start + 1, end - (start == std::string::npos ? 0 : start + 1) + 1);
}

TEST_F(DucatProgram, MonitorShowsCoinsUntilCtrlC) {
    const Finished f = Run({"monitor", "--sim", "--coins-per-minute", "1200", "--seed", "5"}, "ACCEPTED");
    EXPECT_EQ(0, f.exitStatus) << f.output;
    EXPECT_NE(std::string::npos, f.output.find("Addr= 1,  Serial= 20240117 \"DC-20240117\""));
    EXPECT_NE(std::string::npos, f.output.find("    Used  Coin    Divider  Date & Time"));
    EXPECT_NE(std::string::npos, f.output.find("Best Choice "));
    EXPECT_NE(std::string::npos, f.output.find("Header 229  Buffer (A.B): "));
    EXPECT_EQ("COM_Thread: Thread Stopped", LastLine(f.output));
}

TEST_F(DucatProgram, MonitorTracesAndReportsThenTheTraceDecodes) {
    const Finished f = Run({"monitor", "--trace", "site.txt", "--report", "site", "--sim", "--coins-per-minute", "1200",
                            "--seed", "5", "--timeout", "4"});
    EXPECT_EQ(0, f.exitStatus) << f.output; // monitoring ends by STOP; the time limit is one
    EXPECT_NE(std::string::npos, f.output.find("calibration report:\nCoin     Seen  Accepted  Smallest")) << f.output;
    EXPECT_NE(std::string::npos, f.output.find("results.csv, summary.csv and errors.svg in site\n"));
    const std::string trace = Text("site.txt");
    EXPECT_NE(std::string::npos, trace.find("| 255.read coin result to 1; checksum holds\n"));
    EXPECT_EQ(0u, Text("site/errors.svg").find("<?xml"));
    EXPECT_EQ(0u, Text("site/summary.csv").find("coin,seen,accepted,"));
    const Finished decoded = Run({"decode", "site.txt"});
    EXPECT_EQ(0, decoded.exitStatus);
    EXPECT_EQ(trace, decoded.output);
}

// A coin description file for coin XX999Z at coin index 4.
std::vector<uint8_t> NewCoinFile() {
    CoinDescription d;
    CoinImage image{};
    CoinImageFields fields;
    std::strcpy(fields.szCoinId, "XX999Z");
    fields.bCoinIndex = 4;
    WriteCoinImageFields(image, fields);
    return EncodeCoinDescriptionFile(d, image);
}

TEST_F(DucatProgram, WriteCoinSendsTheDescriptionToItsIndex) {
    WriteBytes(File("new coin.tea"), NewCoinFile());
    const Finished f = Run({"write-coin", "new coin.tea", "--sim", "--coins-per-minute", "0"});
    EXPECT_EQ(0, f.exitStatus) << f.output;
    EXPECT_TRUE(Has(f.output, u8"  Параметры монеты с индексом = 4 записаны успешно")) << f.output;
    EXPECT_TRUE(Has(f.output, u8" ++++++ Параметры всех отмеченных монет записаны успешно"));
    EXPECT_NE(std::string::npos, f.output.find("[x] 5     XX999Z"));
}

// How often `line` stands alone on a line of its own.
size_t Count(const std::string& output, const std::string& line) {
    size_t n = 0;
    for (size_t at = output.find(line + "\n"); at != std::string::npos; at = output.find(line + "\n", at + 1)) {
        if (at == 0 || output[at - 1] == '\n') ++n;
    }
    return n;
}

TEST_F(DucatProgram, ExportedLogShowsWhole) {
    Finished f = Run({"export-log", "--sim", "--log-pages", "4", "--sim-serial-text", "E2E"});
    EXPECT_EQ(0, f.exitStatus) << f.output;
    EXPECT_TRUE(Has(f.output, "Page 3 of 4 Log File is Read"));
    EXPECT_NE(std::string::npos, f.output.find("log dump written to ./E2E.tea: 4 pages in ")) << f.output;
    f = Run({"show", "E2E.tea"});
    EXPECT_EQ(0, f.exitStatus) << f.output;
    EXPECT_TRUE(Has(f.output, "CRC-16: holds"));
    EXPECT_TRUE(Has(f.output, "pages: 4"));
}

TEST_F(DucatProgram, RefusedWriteFailsWhenTimeRunsOut) {
    const Finished f = Run({"--timeout", "1", "set-divider", "2", "9", "1", "--sim", "--fault", "refuse:divider:-1:4"});
    EXPECT_EQ(1, f.exitStatus) << f.output;
    // Sent again without pause for a second, shown once and counted.
    EXPECT_EQ(1u, Count(f.output, "*** Error [ 4] when writing coin (index = 2) parameters ***")) << f.output;
    EXPECT_NE(std::string::npos,
              f.output.find("*** Error [ 4] when writing coin (index = 2) parameters *** (repeated "));
    EXPECT_TRUE(Has(f.output, "ducat: the divider write was not done (--timeout 1 s ran out)"));
    EXPECT_EQ(2u, Count(f.output, "COM_Thread: Thread Stopped"));
}

// The coin went in, the table read after it was never answered: not a
// plain failure, the operator must know the coin was written.
TEST_F(DucatProgram, WriteCoinWhoseTableNeverCameBackHasItsOwnStatus) {
    WriteBytes(File("new coin.tea"), NewCoinFile());
    const Finished f = Run({"--timeout", "4", "write-coin", "new coin.tea", "--sim", "--coins-per-minute", "0",
                            "--fault", "silence:table:-1:0:1"});
    EXPECT_EQ(3, f.exitStatus) << f.output;
    EXPECT_TRUE(Has(f.output, u8" ++++++ Параметры всех отмеченных монет записаны успешно")) << f.output;
    EXPECT_TRUE(Has(f.output, "ducat: the coin description write, but the coin table was not read back "
                              "(--timeout 4 s ran out)"))
        << f.output;
}

TEST_F(DucatProgram, MonitorThatNeverReadTheTableFails) {
    const Finished f = Run({"--timeout", "2", "monitor", "--sim", "--fault", "silence:table"});
    EXPECT_EQ(1, f.exitStatus) << f.output;
    EXPECT_TRUE(Has(f.output, "ducat: the coin table was never read (--timeout 2 s ran out)")) << f.output;
}

// Device texts reach the terminal as escapes; the dump's name is the
// cleaned one, and the console says so.
TEST_F(DucatProgram, DeviceTextIsShownAsEscapesAndTheCleanedDumpNameIsPrinted) {
    const Finished f = Run({"export-log", "--sim", "--log-pages", "2", "--sim-serial-text", "A\x1b]0;x\a/\r\nB"});
    EXPECT_EQ(0, f.exitStatus) << f.output;
    EXPECT_EQ(std::string::npos, f.output.find('\x1b'));
    EXPECT_EQ(std::string::npos, f.output.find('\r'));
    EXPECT_NE(std::string::npos, f.output.find("Serial= 20240117 \"A\\x1b]0;x\\x07/\\x0d\\x0aB\",  Manufacture="))
        << f.output;
    EXPECT_NE(std::string::npos, f.output.find("log dump written to ./A_]0;x____B.tea: 2 pages in ")) << f.output;
}

TEST_F(DucatProgram, ParametersAreClampedLikeTheDialog) {
    const Finished f = Run({"set-params", "999", "300", "266", "--sim"});
    EXPECT_EQ(0, f.exitStatus) << f.output;
    EXPECT_TRUE(Has(f.output, "Coin Acceptor parameters written successfully"));
}

TEST_F(DucatProgram, ConfigurationGivesTheAddressAndStaysAsItWas) {
    ConfigRecord record;
    record.bDeviceAddress = 7;
    std::vector<uint8_t> file = EncodeConfig(record);
    const int32_t sum = ContentSum(file.data(), file.size());
    file.resize(file.size() + 4);
    StoreEnvelope(file.data() + file.size() - 4, sum);
    WriteBytes(File("Ducat Console.cnf"), file);
    const Finished f = Run({"--timeout", "2", "monitor", "--sim"});
    EXPECT_EQ(0, f.exitStatus) << f.output;
    EXPECT_NE(std::string::npos, f.output.find("Addr= 7,"));
    EXPECT_EQ(file, ReadBytes(File("Ducat Console.cnf")));
}

TEST_F(DucatProgram, BadCommandLinesAreUsageErrors) {
    EXPECT_EQ(2, Run({"set-divider", "16", "1", "1", "--sim"}).exitStatus);
    for (const char* row : {"-1", "x", "4294967296"}) EXPECT_EQ(2, Run({"set-divider", row, "1", "1", "--sim"}).exitStatus);
    EXPECT_EQ(2, Run({"set-divider", "3", "x", "1", "--sim"}).exitStatus);
    EXPECT_EQ(2, Run({"set-divider", "3", "9", "x", "--sim"}).exitStatus);
    EXPECT_EQ(2, Run({"set-params", "6", "x", "2", "--sim"}).exitStatus);
    EXPECT_EQ(2, Run({"monitor", "--coins-per-minute", "5"}).exitStatus);
    EXPECT_EQ(2, Run({"--port", "/dev/" + std::string(5000, 'x'), "monitor"}).exitStatus); // past any path
}

// A stable Linux name is far longer than "\\.\COM%d": it is taken, and a run
// that cannot open it says so with the name.
TEST_F(DucatProgram, LongPortNamesAreOpened) {
    const std::string name = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_NOSUCH-if00-port0";
    const Finished f = Run({"--port", name, "--timeout", "5", "monitor"});
    EXPECT_EQ(1, f.exitStatus) << f.output;
    EXPECT_NE(std::string::npos, f.output.find(name)) << f.output;
}

// A raw capture of one monitoring exchange: clean it decodes with status 0;
// with a stray byte the noise line is shown and the status is 1.
TEST_F(DucatProgram, DecodeOfARawCaptureFailsOnNoise) {
    std::vector<uint8_t> request = {1, 2, 1, 255, 0x10, 0};
    request.push_back(SimpleChecksum(request.data(), request.size()));
    std::vector<uint8_t> reply = {1, 35, 1, 0};
    reply.resize(reply.size() + 35, 0);
    reply.push_back(SimpleChecksum(reply.data(), reply.size()));
    std::vector<uint8_t> capture = request;
    capture.insert(capture.end(), reply.begin(), reply.end());
    WriteBytes(File("clean.bin"), capture);
    const Finished clean = Run({"decode", "clean.bin"});
    EXPECT_EQ(0, clean.exitStatus) << clean.output;
    EXPECT_EQ(0u, clean.output.find("@000000 host   01 02 01 FF 10 00 ED | 255.read coin result to 1; checksum holds\n"))
        << clean.output;
    capture.insert(capture.begin() + static_cast<std::ptrdiff_t>(request.size()), 0x55);
    WriteBytes(File("noisy.bin"), capture);
    const Finished noisy = Run({"decode", "noisy.bin"});
    EXPECT_EQ(1, noisy.exitStatus) << noisy.output;
    EXPECT_TRUE(Has(noisy.output, "@000007 noise  55 | noise: 1 byte at offset 7")) << noisy.output;
    EXPECT_NE(std::string::npos, noisy.output.find("@000008 device 01 23 01 00")) << noisy.output;
}

// Each port problem: the program's own line, then the port, the cause and
// the remedy in one English line.
TEST_F(DucatProgram, AMissingPortIsNamedWithHowToListThePorts) {
    const Finished f = Run({"--port", "/dev/ttyUSB-nosuch", "--timeout", "5", "monitor"});
    EXPECT_EQ(1, f.exitStatus) << f.output;
    EXPECT_NE(std::string::npos,
              f.output.find(u8"COM_Thread:  Невозможно открыть порт /dev/ttyUSB-nosuch, Error = 2\n"
                            "/dev/ttyUSB-nosuch: no such port (error 2); `ducat ports` lists the ports there are\n"))
        << f.output;
}

// "--port 9" is COM9 as "--port COM9" is: a run, not a wrong command line.
TEST_F(DucatProgram, APortNumberIsACOMPort) {
    const Finished number = Run({"--port", "250", "--timeout", "5", "monitor"});
    EXPECT_EQ(1, number.exitStatus) << number.output;
    EXPECT_TRUE(Has(number.output, "COM250: no such port (error 2); `ducat ports` lists the ports there are"))
        << number.output;
    const Finished com = Run({"--port", "COM250", "--timeout", "5", "monitor"});
    EXPECT_EQ(number.output, com.output);
}

TEST_F(DucatProgram, APortAnotherProgramHoldsIsInUse) {
    sim::PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    uint32_t error = 0;
    const auto holder = platform::OpenSerialPort(pty.SlavePath(), error); // flock + TIOCEXCL
    ASSERT_NE(nullptr, holder);
    const Finished f = Run({"--port", pty.SlavePath(), "--timeout", "5", "monitor"});
    EXPECT_EQ(1, f.exitStatus) << f.output;
    EXPECT_TRUE(Has(f.output, pty.SlavePath() +
                                  ": in use by another program (error 16); close the program that holds it, then try again"))
        << f.output;
}

// Nobody answers on the line: after the program's line, the port, the
// address and the speed, once however often the line repeats.
TEST_F(DucatProgram, ASilentDeviceIsNamedWithItsPort) {
    sim::PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    const Finished f = Run({"--port", pty.SlavePath(), "--address", "3", "--speed", "19200", "--timeout", "3", "monitor"});
    EXPECT_EQ(1, f.exitStatus) << f.output;
    const std::string note = "no reply from address 3 at 19200 bit/s on " + pty.SlavePath() + " (check cable, speed, address)";
    const size_t at = f.output.find(u8"C_T: ***** ошибка приема размера пакета 255: - -1 байт\n" + note + "\n");
    EXPECT_NE(std::string::npos, at) << f.output;
    EXPECT_EQ(f.output.rfind(note), at + f.output.substr(at).find(note)) << f.output; // told once
}

TEST_F(DucatProgram, HelpListsTheExitStatuses) {
    const Finished f = Run({"--help"});
    EXPECT_EQ(0, f.exitStatus);
    EXPECT_NE(std::string::npos, f.output.find("exit status:\n  0  done"));
    EXPECT_NE(std::string::npos, f.output.find("\n  3  write-coin, set-divider, set-params"));
    EXPECT_NE(std::string::npos, f.output.find("ducat --help | --version\n"));
}

} // namespace
