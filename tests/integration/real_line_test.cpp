// Ducat Console on a line that behaves like a real one (9600 bit/s, replies
// late, broken off, mis-framed, damaged or missing, random noise): a fault
// costs the exchange it hits and no more, monitoring counts every coin once
// and goes on, the coin table ends as the acceptor holds it, a description
// write and a log export repeat the step they lost and complete.
#include "acceptor_fixture.h"

#include "coindata/files/checksum_envelope.h"
#include "coindata/records/coin_description.h"
#include "coindata/records/device_coin_table.h"
#include "cipher/block_cipher.h"
#include "commands/coin_result.h"
#include "commands/protocol/acceptor_layouts.h"
#include "link/com_thread.h"
#include "link/command_mailbox.h"
#include "link/frame_layout.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>

namespace integration {
namespace {

using sim::DucatAcceptor;
using sim::DucatCoin;
using sim::LineFault;

constexpr uint32_t kLineSpeed = 9600; // the acceptor's own
constexpr uint32_t kFastLine = 115200; // where the speed is not what is tested

// The requests of a START in the order the line counts them (all of header 255).
constexpr unsigned kTableRead = 2;
constexpr unsigned kFirstPoll = 3;

// What the commands print for an exchange that failed, as queued (code page 1251).
const char* const kFailedExchangeTexts[] = {
    "C_T: ***** ошибка приема размера пакета 255: - ", // a head that is wrong or did not come
    "***** ошибка приема квитанции - ",                 // the reply broke off
    "***** ошибка приема CRC16 ответа ",                // the checksum of the reply
    "***** ошибка приема контрольной суммы",            // ... of a log page
};
constexpr const char* kAlarm = "*****";

bool StartsWith(const std::string& line, const char* prefix) { return line.rfind(prefix, 0) == 0; }

int AcceptCount(size_t row) { return stDeviceCoins.GetDeviceCoins()[row].iAcceptCount; }

struct FaultCase {
    const char* name;
    LineFault fault;
    uint32_t ms;  // Late and Gap: how long; 0 = the line's own 62 ms and 60 ms
    int failures; // exchanges it costs
};

// Every fault spoils its reply, but for the echo's: the acceptor sends none.
int FaultsFired(const FaultCase& c) { return c.fault == LineFault::SplitEcho ? 0 : 1; }

std::string CaseName(const ::testing::TestParamInfo<FaultCase>& info) { return info.param.name; }
void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

// The link waits 1000 ms + 10 ms a byte for a reply and 100 ms between its
// bytes, then, after a failure, for 100 ms of quiet before the next request.
// Faults past those limits cost one exchange each.
const FaultCase kFaultsThatCost[] = {
    {"LateBeyondTheLimit", LineFault::Late, 1060, 1}, // comes while the link waits for quiet
    {"GapBeyondTheLimit", LineFault::Gap, 150, 1},
    {"Length", LineFault::Length, 0, 1},
    {"Flip", LineFault::Flip, 0, 1},
    {"Short", LineFault::Short, 0, 1},
    {"Stray", LineFault::Stray, 0, 1},
    {"Silence", LineFault::Silence, 0, 1},
};

// ... and faults within them cost nothing.
const FaultCase kFaultsAbsorbed[] = {
    {"LateWithinTheLimit", LineFault::Late, 0, 0},
    {"GapWithinTheLimit", LineFault::Gap, 0, 0},
    {"SplitEcho", LineFault::SplitEcho, 0, 0}, // the acceptor sends no echo to split
};

class RealLine : public AcceptorTest {
protected:
    void UseLine(uint32_t bitsPerSecond, std::vector<sim::LineFaultAt> faults) {
        serverOptions.line.bitsPerSecond = bitsPerSecond;
        serverOptions.line.faults = std::move(faults);
    }

    // One fault on the nth request of Ducat Console (all of them are of header 255).
    static std::vector<sim::LineFaultAt> FaultOn(unsigned nth, const FaultCase& c) {
        return {{kExtensionHeader, nth, c.fault, c.ms}};
    }

    // The status lines that tell of a failed exchange. Any other alarm
    // line is a failure of the test.
    int FailedExchanges() {
        int failed = 0;
        for (const std::string& line : Lines()) {
            if (line.find(kAlarm) == std::string::npos) continue;
            const bool known = std::any_of(std::begin(kFailedExchangeTexts), std::end(kFailedExchangeTexts),
                                           [&](const char* text) { return StartsWith(line, text); });
            EXPECT_TRUE(known) << line;
            ++failed;
        }
        return failed;
    }

    int Faults() { return static_cast<int>(LineCounts().faultsFired); }

    // START: identification, coin table, then monitoring.
    void StartMonitoring() {
        ASSERT_TRUE(Start(acceptor::kSubIdentify, acceptor::kSubReadTable));
        ASSERT_TRUE(WaitUntil([] { return Mailbox.bSubCommand.load() == acceptor::kSubMonitor; }));
    }

    bool WaitForPolls(int polls) {
        return WaitUntil([&] { return DeviceRequests(acceptor::kReadResult) >= polls; }, 20000);
    }

    // The run polls on by itself; STOP ends it.
    void ExpectMonitoringGoesOnThenStop() {
        EXPECT_TRUE(RunExists());
        EXPECT_EQ(0, Mailbox.bStopThread.load());
        EXPECT_EQ(acceptor::kSubMonitor, Mailbox.bSubCommand.load());
        ASSERT_TRUE(Stop());
    }

    // The rows the host holds are the rows the acceptor holds.
    void ExpectTableAsTheDeviceHasIt() {
        std::array<sim::DucatCoinRow, sim::kDucatRows> device;
        OnDevice([&](DucatAcceptor& d) { device = d.table; });
        ASSERT_TRUE(stDeviceCoins.IsDeviceListValid());
        const DeviceCoinRows rows = stDeviceCoins.GetDeviceCoins();
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(device[i].coinId, rows[i].szCoinId) << "row " << i;
            EXPECT_EQ(device[i].divider, rows[i].iErrorDivider) << "row " << i;
            EXPECT_EQ(device[i].allowed, rows[i].bInherit) << "row " << i;
            EXPECT_EQ(device[i].firm, rows[i].iFirm) << "row " << i;
            EXPECT_EQ(device[i].written, rows[i].tWritten) << "row " << i;
        }
    }

    // The acceptor's rows, some unlike those of any test before, so that
    // a table left by one cannot pass for this one's.
    void ChangeTable() {
        static int tables = 0;
        const int n = ++tables;
        OnDevice([n](DucatAcceptor& d) {
            d.table[5].coinId = "XX" + std::to_string(100 + n % 900) + "Z";
            d.table[5].divider = static_cast<uint8_t>(n);
            d.table[5].allowed = 0;
            d.table[11].coinId = "EU2E0A";
            d.table[11].firm = 9;
            d.table[11].written = 1700000000u + static_cast<uint32_t>(n);
        });
    }
};

// Monitoring with one fault on one result poll.
class FaultOnAPoll : public RealLine, public ::testing::WithParamInterface<FaultCase> {
protected:
    // The first poll shows the coin before the run (never counted), then
    // two coins, two polls each; the fault hits the first poll of the first.
    static constexpr size_t kRows[] = {0, 1, 2};
    static constexpr size_t kCoins = std::size(kRows) - 1;
    static constexpr unsigned kFaultyPoll = kFirstPoll + 1;
    static constexpr int kPolls = 1 + 2 * kCoins; // the script

    FaultOnAPoll() { UseLine(kLineSpeed, FaultOn(kFaultyPoll, GetParam())); }
};

TEST_P(FaultOnAPoll, CostsThatExchangeAloneAndEveryCoinCountsOnce) {
    sim::DucatResult last;
    OnDevice([&](DucatAcceptor& d) {
        d.QueueCoin(DucatCoin{static_cast<uint8_t>(kRows[0]), true});
        // A real acceptor answers its latest result until the next coin:
        // two polls a coin here, so a lost poll can only delay one.
        for (size_t i = 1; i <= kCoins; ++i) {
            last = d.MakeResult(DucatCoin{static_cast<uint8_t>(kRows[i]), true});
            d.QueueResult(last);
            d.QueueResult(last);
        }
    });
    int before[std::size(kRows)];
    for (size_t i = 0; i < std::size(kRows); ++i) before[i] = AcceptCount(kRows[i]);

    StartMonitoring();
    ASSERT_TRUE(WaitForPolls(kPolls));
    const int failed = FailedExchanges();
    ExpectMonitoringGoesOnThenStop();

    EXPECT_EQ(GetParam().failures, failed);
    EXPECT_EQ(FaultsFired(GetParam()), Faults());
    // The coin before the run is shown, not counted; each other coin once.
    EXPECT_EQ(before[0], AcceptCount(kRows[0]));
    for (size_t i = 1; i <= kCoins; ++i) EXPECT_EQ(before[i] + 1, AcceptCount(kRows[i])) << "row " << kRows[i];
    // The list was refilled after the table and after each counted coin.
    EXPECT_EQ(1 + static_cast<int>(kCoins), Refreshes());
    EXPECT_EQ(static_cast<int32_t>(last.stamp), Mailbox.dwLastRecordNumber.load());
    EXPECT_EQ(static_cast<int>(kRows[kCoins]), GetCoinResult().iResultCoinIndex);
    // Nothing else was asked twice, and nothing more failed after the fault.
    EXPECT_EQ(1, DeviceRequests(acceptor::kIdentify));
    EXPECT_EQ(1, DeviceRequests(acceptor::kReadTable));
    EXPECT_EQ(failed, FailedExchanges());
}

INSTANTIATE_TEST_SUITE_P(EachFault, FaultOnAPoll, ::testing::ValuesIn(kFaultsThatCost), CaseName);

// One fault on the coin table read: the table is asked for again.
class FaultOnTheTableRead : public RealLine, public ::testing::WithParamInterface<FaultCase> {
protected:
    FaultOnTheTableRead() { UseLine(kLineSpeed, FaultOn(kTableRead, GetParam())); }
};

TEST_P(FaultOnTheTableRead, IsAskedForAgainAndEndsAsTheDeviceHasIt) {
    ChangeTable();
    StartMonitoring();
    ASSERT_TRUE(WaitForPolls(1));
    const int failed = FailedExchanges();
    ExpectMonitoringGoesOnThenStop();

    EXPECT_EQ(GetParam().failures, failed);
    EXPECT_EQ(FaultsFired(GetParam()), Faults());
    EXPECT_EQ(1 + failed, DeviceRequests(acceptor::kReadTable));
    ExpectTableAsTheDeviceHasIt();
    EXPECT_EQ(1, Refreshes()); // filled once, from the table that came right
}

INSTANTIATE_TEST_SUITE_P(EachFault, FaultOnTheTableRead, ::testing::ValuesIn(kFaultsThatCost), CaseName);
INSTANTIATE_TEST_SUITE_P(Absorbed, FaultOnTheTableRead, ::testing::ValuesIn(kFaultsAbsorbed), CaseName);

// A reply later than the link's wait for quiet cannot be told from the
// answer to the request sent again; taken as that answer, it leaves the
// real answer on the line for the next exchange. Bounded to that one
// more exchange, and the table still ends right.
const FaultCase kLaterThanTheQuietWait[] = {
    {"Late", LineFault::Late, 1500, 2},
    {"Gap", LineFault::Gap, 300, 2},
};

class TooLateForTheTableRead : public FaultOnTheTableRead {};

TEST_P(TooLateForTheTableRead, CostsOneMoreExchangeAndNoMore) {
    ChangeTable();
    StartMonitoring();
    ASSERT_TRUE(WaitForPolls(3));
    const int failed = FailedExchanges();
    ExpectMonitoringGoesOnThenStop();

    EXPECT_EQ(GetParam().failures, failed);
    EXPECT_EQ(1, Faults());
    ExpectTableAsTheDeviceHasIt();
    EXPECT_EQ(1, Refreshes());
}

INSTANTIATE_TEST_SUITE_P(PastTheLimits, TooLateForTheTableRead, ::testing::ValuesIn(kLaterThanTheQuietWait), CaseName);

// A noisy line: bits flip both ways at random (seeded, so every run sees
// the same bytes spoilt).
class NoisyLine : public RealLine {
protected:
    static constexpr double kNoise = 1.0 / 500; // of every byte, either way
    static constexpr uint32_t kSeed = 1; // spoils bytes both ways
    static constexpr int kStartTries = 5;
    static constexpr int kCoins = 8; // on rows 1-8, row 0 the coin before the run

    NoisyLine() {
        UseLine(kFastLine, {});
        serverOptions.line.noisePerByte = kNoise;
        serverOptions.line.seed = kSeed;
    }

    // START, again as an operator would when noise spoilt the
    // identification, which ends the run.
    void StartMonitoringOnANoisyLine() {
        for (int tries = 0; tries < kStartTries; ++tries) {
            ASSERT_TRUE(Start(acceptor::kSubIdentify, acceptor::kSubReadTable));
            ASSERT_TRUE(WaitUntil([] { return Mailbox.bSubCommand.load() == acceptor::kSubMonitor || !RunExists(); }));
            if (RunExists()) return;
        }
        FAIL() << "no identification came through in " << kStartTries << " tries";
    }
};

TEST_F(NoisyLine, NoCoinCountsTwiceAndOnlyLostPollsLoseOne) {
    sim::DucatResult last;
    OnDevice([&](DucatAcceptor& d) {
        // Three polls for the coin before the run, two for every other.
        const sim::DucatResult first = d.MakeResult(DucatCoin{0, true});
        for (int i = 0; i < 3; ++i) d.QueueResult(first);
        for (int row = 1; row <= kCoins; ++row) {
            last = d.MakeResult(DucatCoin{static_cast<uint8_t>(row), true});
            d.QueueResult(last);
            d.QueueResult(last);
        }
    });
    int before[kCoins + 1];
    for (int row = 0; row <= kCoins; ++row) before[row] = AcceptCount(static_cast<size_t>(row));

    StartMonitoringOnANoisyLine();
    // The script, then the last coin again until it came through.
    ASSERT_TRUE(WaitForPolls(3 + 2 * kCoins + 1));
    ASSERT_TRUE(WaitUntil([&] { return Mailbox.dwLastRecordNumber.load() == static_cast<int32_t>(last.stamp); }));
    ExpectMonitoringGoesOnThenStop();

    const sim::LineCounters line = LineCounts();
    const int flips = static_cast<int>(line.flippedToDevice + line.flippedToHost);
    const int failed = FailedExchanges();
    ASSERT_GT(line.flippedToDevice, 0u) << "the seed must spoil requests too";
    ASSERT_GT(line.flippedToHost, 0u) << "... and replies";
    EXPECT_GT(failed, 0);
    EXPECT_LE(failed, flips); // one spoilt byte costs one exchange at most
    int lost = 0;
    for (int row = 1; row <= kCoins; ++row) {
        const int counted = AcceptCount(static_cast<size_t>(row)) - before[row];
        EXPECT_GE(counted, 0) << "row " << row;
        EXPECT_LE(counted, 1) << "row " << row;
        lost += counted == 0 ? 1 : 0;
    }
    // A coin is lost only when both its polls failed.
    EXPECT_LE(2 * lost, failed);
    EXPECT_EQ(kCoins, lost + Refreshes() - 1);
    EXPECT_EQ(kCoins, GetCoinResult().iResultCoinIndex);
}

// A description write and a log export repeat the step whose exchange a
// fault spoilt, and complete as on a clean line.
class FaultOnATransfer : public RealLine {
protected:
    // Fragment or page 5: the identification before the run is request 1.
    static constexpr int kFaultyIndex = 5;

    explicit FaultOnATransfer(LineFault fault) {
        UseLine(kFastLine, {{kExtensionHeader, 2 + kFaultyIndex, fault, 0}});
    }
};

// The acceptor took the fragment, its answer was lost.
class FragmentAnswerLost : public FaultOnATransfer {
protected:
    FragmentAnswerLost() : FaultOnATransfer(LineFault::Silence) {}
};

TEST_F(FragmentAnswerLost, TheFragmentGoesAgainAndTheWriteCompletes) {
    constexpr int kTarget = 9;
    std::mt19937 bytes(11);
    for (auto& b : abCoinImage) b = static_cast<uint8_t>(bytes());
    Identify();
    Mailbox.iTargetCoinIndex = kTarget;
    ASSERT_TRUE(Start(acceptor::kSubWriteCoin, acceptor::kSubWriteCoin));
    ASSERT_TRUE(WaitUntil([] { return Mailbox.bSubCommand.load() == acceptor::kSubMonitor; }));
    ASSERT_TRUE(Stop());

    EXPECT_EQ(1, FailedExchanges());
    std::vector<uint8_t> held;
    std::vector<int> fragments;
    OnDevice([&](DucatAcceptor& d) {
        held = d.Image(kTarget);
        fragments = d.FragmentsSeen();
    });
    EXPECT_EQ(std::vector<uint8_t>(abCoinImage.begin(), abCoinImage.end()), held);
    for (int f = 0; f < acceptor::write_fragment::kFragments; ++f) {
        EXPECT_EQ(f == kFaultyIndex ? 2 : 1, std::count(fragments.begin(), fragments.end(), f)) << "fragment " << f;
    }
    EXPECT_EQ(1, Count(" ++++++ Параметры всех отмеченных монет записаны успешно"));
}

// Stray bytes before a page: a wrong long head, and the rest of the page
// still coming.
class LogPageMisframed : public FaultOnATransfer {
protected:
    LogPageMisframed() : FaultOnATransfer(LineFault::Stray) {}
};

TEST_F(LogPageMisframed, ThePageIsAskedForAgainAndTheDumpHoldsTheWholeLog) {
    constexpr size_t kPages = 8;
    std::vector<uint8_t> log;
    OnDevice([&](DucatAcceptor& d) {
        d.identity.serialText = "LINE-1";
        d.SetLogPages(kPages, 5);
        log = d.Log();
    });
    Identify();
    ASSERT_TRUE(Start(acceptor::kSubReadLog, acceptor::kSubReadLog));
    ASSERT_TRUE(WaitForRunEnd());

    EXPECT_EQ(1, FailedExchanges());
    EXPECT_EQ(static_cast<int>(kPages) + 1, DeviceRequests(acceptor::kReadLogPage));
    for (size_t page = 0; page < kPages; ++page) {
        EXPECT_EQ(1, Count("Page " + std::to_string(page) + " of 8 Log File is Read")) << "page " << page;
    }
    // The pages, the trailer page and the checksum.
    std::ifstream in(dumpFolder + "/LINE-1.tea", std::ios::binary);
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(log.size() + acceptor::log_page::kPageBytes + 4, file.size());
    EXPECT_TRUE(EnvelopeMatches(file.data(), file.size()));
    DecipherBuffer(file.data(), static_cast<uint32_t>(file.size() - 4), 0);
    EXPECT_TRUE(std::equal(log.begin(), log.end(), file.begin()));
}

} // namespace
} // namespace integration
