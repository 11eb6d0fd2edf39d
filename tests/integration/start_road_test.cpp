// START: identification, coin table and monitoring in one run.
#include "acceptor_fixture.h"

#include "coindata/records/device_coin_table.h"
#include "coindata/records/device_info.h"
#include "commands/protocol/acceptor_layouts.h"
#include "commands/coin_result.h"
#include "link/com_thread.h"
#include "link/command_mailbox.h"
#include "platform/clock.h"
#include "tests/support/run_environment_parts.h"

#include <cstring>

namespace integration {
namespace {

using sim::DucatAcceptor;
using sim::DucatCoin;
using sim::DucatFault;

constexpr uint32_t kNewYear2020 = 1577836800;

int AcceptCount(int row) { return stDeviceCoins.GetDeviceCoins()[static_cast<size_t>(row)].iAcceptCount; }

class StartRoad : public AcceptorTest {};

TEST_F(StartRoad, IdentifiesReadsTableAndCountsAcceptedCoins) {
    testing_support::PinCalendarTime(kNewYear2020);
    sim::DucatResult first, second, rejected;
    OnDevice([&](DucatAcceptor& d) {
        d.identity.serial = 3000000123u; // above 2^31: shown unsigned
        d.identity.serialText = "SN-3000000123";
        d.table[2].divider = 17;
        d.table[2].allowed = 0;
        first = d.MakeResult(DucatCoin{2, true, {1, 8}, {0, 5}});
        second = d.MakeResult(DucatCoin{2, true, {2, 9}, {1, 6}});
        rejected = d.MakeResult(DucatCoin{4, false, {7, 11}, {3, 9}});
        d.QueueResult(first);
        d.QueueResult(second);
        d.QueueResult(rejected);
    });
    const int row2Before = AcceptCount(2);
    const int row4Before = AcceptCount(4);

    ASSERT_TRUE(Start(acceptor::kSubIdentify, acceptor::kSubReadTable));
    ASSERT_TRUE(WaitUntil([&] { return DeviceRequests(acceptor::kReadResult) >= 5; }));

    // Identification: the clock went out as 00 E1 0B 5E, the identity came back.
    std::vector<uint8_t> request;
    OnDevice([&](DucatAcceptor& d) { request = d.LastRequest(acceptor::kIdentify); });
    const std::vector<uint8_t> expected = {1, 6, 1, 255, 0, 0, 0x00, 0xE1, 0x0B, 0x5E};
    ASSERT_EQ(11u, request.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), request.begin()));
    EXPECT_EQ("Addr= 1,  Serial= 3000000123 \"SN-3000000123\",  Manufacture= \"VIRTUAL\",  Category= \"Coin "
              "Acceptor\",  Build= \"Virtual build 1\",  Revision= \"2.04\"",
              IdentityLine());
    EXPECT_EQ(3000000123u, GetDeviceInfo().dwSerial);
    EXPECT_EQ(1, Mailbox.bDeviceIdentified.load());

    // Coin table: the rows as the acceptor holds them, once.
    EXPECT_TRUE(stDeviceCoins.IsDeviceListValid());
    const DeviceCoinRows rows = stDeviceCoins.GetDeviceCoins();
    EXPECT_STREQ("RU002B", rows[1].szCoinId);
    EXPECT_EQ(17, rows[2].iErrorDivider);
    EXPECT_EQ(0, rows[2].bInherit);
    EXPECT_EQ('.', rows[9].szCoinId[0]);
    EXPECT_EQ(1, DeviceRequests(acceptor::kIdentify));
    EXPECT_EQ(1, DeviceRequests(acceptor::kReadTable));
    std::vector<uint8_t> tableRequest, pollRequest;
    OnDevice([&](DucatAcceptor& d) {
        tableRequest = d.LastRequest(acceptor::kReadTable);
        pollRequest = d.LastRequest(acceptor::kReadResult);
    });
    EXPECT_EQ((std::vector<uint8_t>{1, 6, 1, 255, 0x0F, 0, 0x00, 0xE1, 0x0B, 0x5E, 0xA0}), tableRequest);
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 1, 255, 0x10, 0, 0xED}), pollRequest);

    // The first result is shown, not counted; the second counts in row 2;
    // a rejected coin counts nowhere.
    EXPECT_EQ(row2Before + 1, AcceptCount(2));
    EXPECT_EQ(row4Before, AcceptCount(4));
    const CoinResultRecord shown = GetCoinResult();
    EXPECT_STREQ("RU1K0B", shown.szBestCoin);
    EXPECT_EQ(4, shown.iResultCoinIndex);
    EXPECT_EQ(0, shown.bAccepted);
    EXPECT_EQ(7, shown.aiStatErrors[0]);
    EXPECT_EQ(9, shown.aiNeuralErrors[1]);
    EXPECT_EQ(0, shown.abResultA[0]); // the newest pair first: rejected
    EXPECT_EQ(3, shown.abResultA[1]); // then row 2's credit code
    EXPECT_EQ(static_cast<int32_t>(rejected.stamp), Mailbox.dwLastRecordNumber.load());
    EXPECT_EQ(rejected.counter, Mailbox.bLastEventCounter.load());
    EXPECT_EQ(1, Mailbox.bNewData.load());
    // The list was refilled after the table and after the counted coin.
    EXPECT_GE(Refreshes(), 2);

    // The same stamp and counter again store nothing.
    Mailbox.bNewData = 0;
    const int polls = DeviceRequests(acceptor::kReadResult);
    ASSERT_TRUE(WaitUntil([&] { return DeviceRequests(acceptor::kReadResult) >= polls + 2; }));
    EXPECT_EQ(0, Mailbox.bNewData.load());

    // STOP ends the run after the exchange in progress; one port opening.
    ASSERT_TRUE(Stop());
    const int pollsAtStop = DeviceRequests(acceptor::kReadResult);
    EXPECT_EQ("COM_Thread: Thread Stopped", Lines().back());
    platform::SleepMilliseconds(250);
    EXPECT_EQ(pollsAtStop, DeviceRequests(acceptor::kReadResult));
    EXPECT_EQ(1, PortOpenings());
}

TEST_F(StartRoad, CounterChangeAloneIsANewResultButNotACount) {
    sim::DucatResult coin;
    OnDevice([&](DucatAcceptor& d) {
        d.QueueResult(d.MakeResult(DucatCoin{1, true}));
        coin = d.MakeResult(DucatCoin{1, true});
        d.QueueResult(coin);
        coin.counter = static_cast<uint8_t>(coin.counter + 1); // same stamp, new counter
        coin.statErrors[0] = 42;
        d.QueueResult(coin);
    });
    const int before = AcceptCount(1);
    ASSERT_TRUE(Start(acceptor::kSubIdentify, acceptor::kSubReadTable));
    ASSERT_TRUE(WaitUntil([&] { return DeviceRequests(acceptor::kReadResult) >= 4; }));
    ASSERT_TRUE(Stop());
    EXPECT_EQ(before + 1, AcceptCount(1));
    EXPECT_EQ(42, GetCoinResult().aiStatErrors[0]);
    EXPECT_EQ(coin.counter, Mailbox.bLastEventCounter.load());
}

TEST_F(StartRoad, RowOutsideTableIsNotCountedAndReportedOnce) {
    OnDevice([&](DucatAcceptor& d) {
        d.QueueCoin(DucatCoin{0, true});
        d.QueueCoin(DucatCoin{200, true});
        d.QueueCoin(DucatCoin{16, true});
    });
    const DeviceCoinRows before = stDeviceCoins.GetDeviceCoins();
    ASSERT_TRUE(Start(acceptor::kSubIdentify, acceptor::kSubReadTable));
    ASSERT_TRUE(WaitUntil([&] { return DeviceRequests(acceptor::kReadResult) >= 4; }));
    ASSERT_TRUE(Stop());
    const DeviceCoinRows after = stDeviceCoins.GetDeviceCoins();
    for (size_t i = 0; i < after.size(); ++i) EXPECT_EQ(before[i].iAcceptCount, after[i].iAcceptCount) << i;
    EXPECT_EQ(1, Count("C_T: ***** Строка монеты 200 вне таблицы (0-15), монета не учтена"));
    EXPECT_EQ(0, Count("C_T: ***** Строка монеты 16 вне таблицы (0-15), монета не учтена"));
    EXPECT_EQ(16, GetCoinResult().iResultCoinIndex); // still shown as it came
}

TEST_F(StartRoad, DamagedResultsAreDroppedOrReported) {
    OnDevice([&](DucatAcceptor& d) {
        d.QueueCoin(DucatCoin{3, true});
        d.faults.Add({DucatFault::WrongCrc, acceptor::kReadResult, 1});
        d.faults.Add({DucatFault::WrongChecksum, acceptor::kReadResult, 1});
    });
    ASSERT_TRUE(Start(acceptor::kSubIdentify, acceptor::kSubReadTable));
    ASSERT_TRUE(WaitUntil([&] { return Mailbox.bNewData.load() == 1; }));
    ASSERT_TRUE(Stop());
    // The CRC-16 failure is silent; the checksum failure names the header byte.
    EXPECT_EQ(1, Count("***** ошибка приема CRC16 ответа 0"));
    EXPECT_GE(DeviceRequests(acceptor::kReadResult), 3);
    EXPECT_STREQ("RU010B", GetCoinResult().szBestCoin);
}

TEST_F(StartRoad, LineErrorDelaysTheNextCommandByOnePass) {
    OnDevice([](DucatAcceptor& d) { d.faults.Add({DucatFault::LineError, acceptor::kReadTable, 1}); });
    ASSERT_TRUE(Start(acceptor::kSubIdentify, acceptor::kSubReadTable));
    ASSERT_TRUE(WaitUntil([&] { return DeviceRequests(acceptor::kReadResult) >= 2; }));
    ASSERT_TRUE(Stop());
    EXPECT_EQ(1, Count("COM_Thread:  Ошибка функции ClearCommError(hCom, ..."));
    EXPECT_EQ(1, DeviceRequests(acceptor::kReadTable));
}

TEST_F(StartRoad, TableWithWrongCrcIsAskedForAgain) {
    OnDevice([](DucatAcceptor& d) {
        d.faults.Add({DucatFault::WrongCrc, acceptor::kReadTable, 2});
        d.table[5].coinId = "XX777Z";
    });
    const int refreshes = Refreshes();
    ASSERT_TRUE(Start(acceptor::kSubIdentify, acceptor::kSubReadTable));
    ASSERT_TRUE(WaitUntil([&] { return DeviceRequests(acceptor::kReadResult) >= 1; }));
    ASSERT_TRUE(Stop());
    EXPECT_EQ(2, Count("***** ошибка приема CRC16"));
    EXPECT_EQ(3, DeviceRequests(acceptor::kReadTable));
    EXPECT_STREQ("XX777Z", stDeviceCoins.GetDeviceCoins()[5].szCoinId);
    EXPECT_EQ(refreshes + 1, Refreshes());
}

// Identification failures end the run and leave the identity as it was.
struct IdentificationFailure {
    sim::DucatFaultRule fault;
    const char* message;
    const char* name;
};

std::string FailureName(const ::testing::TestParamInfo<IdentificationFailure>& param) { return param.param.name; }

class FailedIdentification : public AcceptorTest, public ::testing::WithParamInterface<IdentificationFailure> {};

TEST_P(FailedIdentification, LeavesDeviceInfoAndEndsTheRun) {
    Identify();
    const DeviceInfo before = GetDeviceInfo();
    const std::string lineBefore = IdentityLine();
    Mailbox.bDeviceIdentified = 0;
    OnDevice([](DucatAcceptor& d) {
        d.identity.serial = 777;
        d.identity.serialText = "OTHER";
        d.faults.Add(GetParam().fault);
    });
    ASSERT_TRUE(Start(acceptor::kSubIdentify, acceptor::kSubReadTable));
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ(1, Mailbox.bStopThread.load());
    EXPECT_EQ(1, Count(GetParam().message));
    EXPECT_EQ(0, Mailbox.bDeviceIdentified.load());
    const DeviceInfo after = GetDeviceInfo();
    EXPECT_EQ(before.dwSerial, after.dwSerial);
    EXPECT_STREQ(before.szSerial, after.szSerial);
    EXPECT_EQ(lineBefore, IdentityLine());
    EXPECT_EQ(0, DeviceRequests(acceptor::kReadTable));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FailedIdentification,
    ::testing::Values(
        IdentificationFailure{{DucatFault::WrongLength, acceptor::kIdentify, 1},
                              "C_T: ***** ошибка приема размера пакета 255: - 105 байт", "WrongLength"},
        IdentificationFailure{{DucatFault::ShortReply, acceptor::kIdentify, 1, 10},
                              "***** ошибка приема квитанции - 94 байт", "ShortReply"},
        IdentificationFailure{{DucatFault::WrongChecksum, acceptor::kIdentify, 1},
                              "***** ошибка приема CRC16 ответа 0", "WrongChecksum"}),
    FailureName);

} // namespace
} // namespace integration
