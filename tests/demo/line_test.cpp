// The driver and the port search over a pty against the virtual acceptor.
#include "demo/driver/port_scan.h"
#include "platform/clock.h"
#include "sim_fixture.h"

#include "sim/pty/pty_pair.h"

#include <chrono>
#include <cstdlib>
#include <unistd.h>

namespace {

class LineTest : public SimFixture {
protected:
    int Send(uint8_t header, std::initializer_list<uint8_t> data = {}) {
        return core.driver.Request(header, data, reply);
    }
    // Opens the line as the port search does and probes it.
    int Probe(uint8_t address) {
        auto port = OpenDemoPort(line->HostPath());
        if (!port || !ConfigureDemoPort(*port, GenerousTimeouts())) return -1;
        return ProbePort(*port, address);
    }
    CctReply reply;
};

TEST_F(LineTest, NinetyFiveDataBytesReachTheDevice) {
    Start();
    std::vector<uint8_t> data(95, 0x5A);
    EXPECT_GE(core.driver.Transact(kHdrTestOutputLines, data.data(), 95, reply.data, reply.length, sizeof reply.data),
              0);
    const auto seen = Requests(kHdrTestOutputLines);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], data);
}

TEST_F(LineTest, AnswersAndNegativeAcknowledgesAreReplies) {
    Start();
    EXPECT_EQ(Send(kHdrSimplePoll), 0);
    EXPECT_EQ(Send(kHdrSerialNumber), 3);
    Device([](sim::StandardAcceptor& d) { d.InjectFault(sim::StandardFault::Nak); });
    EXPECT_EQ(Send(kHdrSerialNumber), 0);
    EXPECT_TRUE(core.driver.IsOpen());
}

TEST_F(LineTest, WithoutEchoEveryExchangeFailsAndClosesThePort) {
    sim::StandardConfig c;
    c.echo = false;
    Start(c);
    for (uint8_t header : {kHdrSimplePoll, kHdrReadBufferedCredit, kHdrManufacturerId}) {
        const int result = Send(header);
        EXPECT_TRUE(result == -kExchangeEchoShort || result == -kExchangeEchoDiffers) << result;
        EXPECT_FALSE(core.driver.IsOpen());
    }
}

TEST_F(LineTest, BadChecksumFailsAndTheNextRequestReopens) {
    Start();
    Device([](sim::StandardAcceptor& d) { d.InjectFault(sim::StandardFault::BadChecksum); });
    EXPECT_EQ(Send(kHdrSimplePoll), -kExchangeBadChecksum);
    EXPECT_FALSE(core.driver.IsOpen());
    EXPECT_EQ(Send(kHdrSimplePoll), 0);
    EXPECT_TRUE(core.driver.IsOpen());
}

// The late reply waits on the line while the port is closed; the reopen
// discards it, so it costs the one exchange and no more.
TEST_F(LineTest, AReplyThatComesLateCostsOneExchangeNotTheLink) {
    Start();
    ASSERT_EQ(Send(kHdrSimplePoll), 0);
    Device([](sim::StandardAcceptor& d) { d.InjectFault(sim::StandardFault::Late); });
    EXPECT_EQ(Send(kHdrSerialNumber), -kExchangeHeadShort);
    EXPECT_FALSE(core.driver.IsOpen());
    platform::SleepMilliseconds(1500); // the late reply arrives meanwhile
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Send(kHdrSerialNumber), 3) << i;
        EXPECT_EQ(Send(kHdrSimplePoll), 0) << i;
    }
}

TEST_F(LineTest, ShortAndOversizeRepliesAreRefused) {
    Start();
    Device([](sim::StandardAcceptor& d) { d.InjectFault(sim::StandardFault::ShortReply); });
    EXPECT_EQ(Send(kHdrManufacturerId), -kExchangeReplyShort);
    Device([](sim::StandardAcceptor& d) { d.InjectFault(sim::StandardFault::Oversize); });
    EXPECT_EQ(Send(kHdrManufacturerId), -kExchangeReplyTooLong);
    EXPECT_EQ(reply.length, 0);
}

TEST_F(LineTest, ProbeAcceptsOnlyThePlainAcknowledgeOfItsAddress) {
    Start();
    EXPECT_EQ(Probe(2), 1);
    EXPECT_EQ(Requests(kHdrSimplePoll).size(), 1u);
    EXPECT_EQ(Probe(3), 0); // nobody at 3
    Device([](sim::StandardAcceptor& d) { d.InjectFault(sim::StandardFault::ExtraData); });
    EXPECT_EQ(Probe(2), 0);
    Device([](sim::StandardAcceptor& d) { d.InjectFault(sim::StandardFault::Nak); });
    EXPECT_EQ(Probe(2), 0);
    Device([](sim::StandardAcceptor& d) { d.InjectFault(sim::StandardFault::BadChecksum); });
    EXPECT_EQ(Probe(2), 0);
    EXPECT_EQ(Probe(2), 1);
}

TEST_F(LineTest, SearchFindsTheDeviceListedFirst) {
    sim::StandardConfig c;
    c.address = 7;
    Start(c);
    ::setenv("CCTALK_PORTS", line->HostPath().c_str(), 1);
    std::vector<std::string> status;
    ScanOptions options;
    options.limits = GenerousTimeouts();
    const int found = ScanPorts(7, [&](const std::string& s) { status.push_back(s); }, options);
    ::unsetenv("CCTALK_PORTS");
    EXPECT_EQ(found, 1);
    EXPECT_EQ(status, (std::vector<std::string>{"scanning COM1", "device found on COM1"}));
}

// The numbers are the list's: a port that is COM4 is reported as COM4.
TEST_F(LineTest, SearchReportsTheNumbersOfTheListedPorts) {
    Start();
    std::vector<std::string> status;
    ScanOptions options;
    options.limits = GenerousTimeouts();
    options.listPorts = [this] {
        return std::vector<platform::PortName>{{"/dev/no-such-port", "gone", 3, ""},
                                               {line->HostPath(), "pty", 4, ""}};
    };
    EXPECT_EQ(4, ScanPorts(2, [&](const std::string& s) { status.push_back(s); }, options));
    EXPECT_EQ(status, (std::vector<std::string>{"scanning COM3", "scanning COM4", "device found on COM4"}));
}

TEST_F(LineTest, LineThatGoesAwayFailsAtOnceAndIsFoundAgainWhenItComesBack) {
    Start();
    const std::string name = ::testing::TempDir() + "pollbench-line-" + std::to_string(::getpid());
    ASSERT_TRUE(line->LinkAs(name));
    core.driver.portName = name;
    EXPECT_EQ(Send(kHdrSimplePoll), 0);
    line.reset(); // unplugged: the device node goes
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Send(kHdrSimplePoll), -kExchangeCallFailed);
    EXPECT_FALSE(core.driver.IsOpen());
    EXPECT_EQ(Send(kHdrSimplePoll), -kExchangeNotOpen);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    line = std::make_unique<sim::StandardLine>();
    ASSERT_TRUE(line->LinkAs(name));
    EXPECT_EQ(Send(kHdrSimplePoll), 0); // plugged in again: the next request opens it
    EXPECT_TRUE(core.driver.IsOpen());
}

TEST(StuckLine, RequestIntoALineThatTakesNoBytesIsShortAfterItsWriteLimit) {
    sim::PtyPair pty; // nobody reads the device side
    ASSERT_TRUE(pty.Ok());
    {
        auto filler = OpenDemoPort(pty.SlavePath());
        ASSERT_NE(filler, nullptr);
        platform::Timeouts t;
        t.writeTotalConstant = 200;
        ASSERT_TRUE(filler->SetTimeouts(t));
        std::vector<uint8_t> flood(1 << 20, 0x55);
        size_t written = 0;
        ASSERT_TRUE(filler->Write(flood.data(), flood.size(), written));
        ASSERT_LT(written, flood.size());
    }
    CCctDriver driver;
    driver.portName = pty.SlavePath();
    CctReply reply;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(driver.Request(kHdrSimplePoll, {}, reply), -kExchangeWriteShort);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(115)); // 20 ms + 20 ms x 5 bytes
    EXPECT_LT(elapsed, std::chrono::milliseconds(1500));
    EXPECT_FALSE(driver.IsOpen());
}

} // namespace
