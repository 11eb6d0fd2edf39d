// Sub-commands 6 and 7: one coin's divider and allowed flag, and the
// acceptor-wide acceptance parameters.
#include "acceptor_fixture.h"

#include "coindata/records/device_coin_table.h"
#include "coindata/records/device_info.h"
#include "commands/protocol/acceptor_layouts.h"
#include "cipher/block_cipher.h"
#include "link/checksums.h"
#include "link/command_mailbox.h"
#include "tests/support/run_environment_parts.h"

#include <algorithm>

namespace integration {
namespace {

using sim::DucatAcceptor;
using sim::DucatFault;

constexpr int kRow = 3;

class SettingWrite : public AcceptorTest {
protected:
    void SetUp() override {
        AcceptorTest::SetUp();
        testing_support::PinCalendarTime(1577836800);
        IdentifyAndReadTable();
    }

    // The last request of `function`, deciphered as the acceptor reads it.
    std::vector<uint8_t> PlainRequest(uint8_t function) {
        std::vector<uint8_t> frame;
        OnDevice([&](DucatAcceptor& d) { frame = d.LastRequest(function); });
        if (frame.size() == 25) DecipherBuffer(frame.data() + 8, 16, GetDeviceInfo().dwSerial);
        return frame;
    }
};

TEST_F(SettingWrite, DividerWriteIsTakenThenTheTableIsReadAndMonitoringFollows) {
    ASSERT_TRUE(stDeviceCoins.SetRowDividerAndInherit(kRow, 17, 0));
    Mailbox.iSelectedDeviceCoin = kRow;
    const int tableReads = DeviceRequests(acceptor::kReadTable);
    const int polls = DeviceRequests(acceptor::kReadResult);
    ASSERT_TRUE(Start(acceptor::kSubWriteDivider, acceptor::kSubWriteDivider, false));
    ASSERT_TRUE(WaitForRequests(acceptor::kReadResult, polls));
    ASSERT_TRUE(Stop());

    EXPECT_EQ(1, Count("Coin (index = 3) parameters written successfully"));
    EXPECT_EQ(tableReads + 1, DeviceRequests(acceptor::kReadTable));
    const std::vector<uint8_t> plain = PlainRequest(acceptor::kWriteDivider);
    ASSERT_EQ(25u, plain.size());
    const std::vector<uint8_t> head = {1, 20, 1, 255, 0x11, 0, 0, 0, 0x00, 0xE1, 0x0B, 0x5E, kRow, 0, 17};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), plain.begin()));
    EXPECT_TRUE(std::all_of(plain.begin() + 15, plain.begin() + 22, [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(Crc16(plain.data(), 22), LoadLe16(plain.data() + 22));
    OnDevice([](DucatAcceptor& d) {
        EXPECT_EQ(17, d.table[kRow].divider);
        EXPECT_EQ(0, d.table[kRow].allowed);
    });
    EXPECT_EQ(17, stDeviceCoins.GetDeviceCoins()[kRow].iErrorDivider);
}

TEST_F(SettingWrite, RefusedDividerIsSentAgainEveryPassUntilStop) {
    Mailbox.iSelectedDeviceCoin = kRow;
    OnDevice([](DucatAcceptor& d) { d.faults.Add({DucatFault::Refuse, acceptor::kWriteDivider, sim::kForever, 5}); });
    const int tableReads = DeviceRequests(acceptor::kReadTable);
    ASSERT_TRUE(Start(acceptor::kSubWriteDivider, acceptor::kSubWriteDivider, false));
    ASSERT_TRUE(WaitForRequests(acceptor::kWriteDivider, 0, 4));
    ASSERT_TRUE(Stop());
    const int writes = DeviceRequests(acceptor::kWriteDivider);
    EXPECT_EQ(writes, Count("*** Error [ 5] when writing coin (index = 3) parameters ***"));
    EXPECT_EQ(tableReads, DeviceRequests(acceptor::kReadTable));
}

TEST_F(SettingWrite, NoSelectedRowEndsTheRunWithoutWriting) {
    Mailbox.iSelectedDeviceCoin = -1;
    ASSERT_TRUE(Start(acceptor::kSubWriteDivider, acceptor::kSubWriteDivider, false));
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ(1, Count("*** Error: coin index -1 is outside the coin table ***"));
    EXPECT_EQ(0, DeviceRequests(acceptor::kWriteDivider));
}

TEST_F(SettingWrite, ParametersAreWrittenAndReadBack) {
    AcceptanceParameters params = stDeviceCoins.GetAcceptanceParams();
    params.Max_Error = 12;
    params.NNet_Divider = 44;
    params.Numb_Stand_Dev = 5;
    stDeviceCoins.SetAcceptanceParams(params);
    const int polls = DeviceRequests(acceptor::kReadResult);
    ASSERT_TRUE(Start(acceptor::kSubWriteParams, acceptor::kSubWriteParams));
    ASSERT_TRUE(WaitForRequests(acceptor::kReadResult, polls));
    ASSERT_TRUE(Stop());
    EXPECT_EQ(1, Count("Coin Acceptor parameters written successfully"));
    const std::vector<uint8_t> plain = PlainRequest(acceptor::kWriteParams);
    ASSERT_EQ(25u, plain.size());
    EXPECT_EQ(0x12, plain[4]);
    EXPECT_EQ(12, plain[12]);
    EXPECT_EQ(44, plain[13]);
    EXPECT_EQ(5, plain[14]);
    OnDevice([](DucatAcceptor& d) { EXPECT_EQ(44, d.params.nnetDivider); });
    const AcceptanceParameters back = stDeviceCoins.GetAcceptanceParams();
    EXPECT_EQ(12, back.Max_Error);
    EXPECT_EQ(5, back.Numb_Stand_Dev);
}

TEST_F(SettingWrite, RefusedOrDamagedParameterWritesAreRepeated) {
    OnDevice([](DucatAcceptor& d) {
        d.faults.Add({DucatFault::Refuse, acceptor::kWriteParams, 2, 9});
        d.faults.Add({DucatFault::WrongChecksum, acceptor::kWriteParams, 1});
    });
    const int polls = DeviceRequests(acceptor::kReadResult);
    ASSERT_TRUE(Start(acceptor::kSubWriteParams, acceptor::kSubWriteParams));
    ASSERT_TRUE(WaitForRequests(acceptor::kReadResult, polls));
    ASSERT_TRUE(Stop());
    EXPECT_EQ(2, Count("*** Error [ 9] when writing Coin Acceptor parameters ***"));
    EXPECT_EQ(1, Count("*****  CRC16 Error  *****"));
    EXPECT_EQ(4, DeviceRequests(acceptor::kWriteParams));
    EXPECT_EQ(1, Count("Coin Acceptor parameters written successfully"));
}

} // namespace
} // namespace integration
