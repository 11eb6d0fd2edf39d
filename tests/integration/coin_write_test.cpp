// Sub-command 1: a coin description goes to the acceptor in 16 fragments.
#include "acceptor_fixture.h"

#include "coindata/records/coin_description.h"
#include "coindata/records/device_coin_table.h"
#include "coindata/records/device_info.h"
#include "cipher/block_cipher.h"
#include "link/checksums.h"
#include "commands/protocol/acceptor_layouts.h"
#include "link/command_mailbox.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>

namespace integration {
namespace {

using sim::DucatAcceptor;
using sim::DucatFault;

constexpr int kTarget = 9;
constexpr int kOneFragment = acceptor::kWriteFragment;

class CoinWrite : public AcceptorTest {
protected:
    void SetUp() override {
        AcceptorTest::SetUp();
        std::mt19937 bytes(7);
        for (auto& b : abCoinImage) b = static_cast<uint8_t>(bytes());
        CoinImageFields fields;
        fields.bFirm = 12;
        fields.tWritten = 1600000000;
        std::snprintf(fields.szCoinId, sizeof fields.szCoinId, "%s", "XX123A");
        fields.bCoinIndex = kTarget;
        WriteCoinImageFields(abCoinImage, fields);
        Identify();
        Mailbox.iTargetCoinIndex = kTarget;
    }

    std::vector<int> Fragments() {
        std::vector<int> seen;
        OnDevice([&](DucatAcceptor& d) { seen = d.FragmentsSeen(); });
        return seen;
    }

    std::string Refused(int status) {
        return "***** Ошибка [" + std::to_string(status) + "] записи параметров монеты с индексом = 9. ";
    }
};

std::vector<int> Sequence(int from, int to) {
    std::vector<int> v;
    for (int i = from; i <= to; ++i) v.push_back(i);
    return v;
}

TEST_F(CoinWrite, SixteenFragmentsEndWithBothMessagesAndATableRead) {
    const int tableReads = DeviceRequests(acceptor::kReadTable);
    const int polls = DeviceRequests(acceptor::kReadResult);
    ASSERT_TRUE(Start(acceptor::kSubWriteCoin, acceptor::kSubWriteCoin));
    ASSERT_TRUE(WaitForRequests(acceptor::kReadResult, polls));
    ASSERT_TRUE(Stop());

    EXPECT_EQ(Sequence(0, 15), Fragments());
    // The last request as the wire carried it: sealed with CRC-16, cipher, checksum.
    std::vector<uint8_t> last;
    OnDevice([&](DucatAcceptor& d) { last = d.LastRequest(kOneFragment); });
    ASSERT_EQ(271u, last.size());
    EXPECT_EQ(SimpleChecksum(last.data(), 270), last[270]);
    DecipherBuffer(last.data() + 6, 264, GetDeviceInfo().dwSerial);
    EXPECT_EQ((std::vector<uint8_t>{1, 10, 1, 255, 0x01, 1, 15, kTarget}), std::vector<uint8_t>(last.begin(), last.begin() + 8));
    EXPECT_TRUE(std::equal(last.begin() + 8, last.begin() + 264, abCoinImage.begin() + 15 * 256));
    EXPECT_EQ((std::vector<uint8_t>{0, 0, 0, 0}), std::vector<uint8_t>(last.begin() + 264, last.begin() + 268));
    EXPECT_EQ(Crc16(last.data(), 268), LoadLe16(last.data() + 268));
    std::vector<uint8_t> held;
    OnDevice([&](DucatAcceptor& d) { held = d.Image(kTarget); });
    EXPECT_EQ(std::vector<uint8_t>(abCoinImage.begin(), abCoinImage.end()), held);
    const int perCoin = Find("  Параметры монеты с индексом = 9 записаны успешно");
    ASSERT_GE(perCoin, 0);
    EXPECT_EQ(perCoin + 1, Find(" ++++++ Параметры всех отмеченных монет записаны успешно"));
    EXPECT_EQ(tableReads + 1, DeviceRequests(acceptor::kReadTable));
    // The table read back shows the row the image describes.
    const DeviceCoinEntry row = stDeviceCoins.GetDeviceCoins()[kTarget];
    EXPECT_STREQ("XX123A", row.szCoinId);
    EXPECT_EQ(12, row.iFirm);
    EXPECT_EQ(1600000000, row.tWritten);
}

TEST_F(CoinWrite, FragmentNotTakenIsRepeatedAndTheEleventhErrorEndsTheRun) {
    OnDevice([](DucatAcceptor& d) {
        d.faults.Add({DucatFault::RepeatFragment, kOneFragment, sim::kForever, 0, 3});
    });
    const int tableReads = DeviceRequests(acceptor::kReadTable);
    ASSERT_TRUE(Start(acceptor::kSubWriteCoin, acceptor::kSubWriteCoin));
    ASSERT_TRUE(WaitForRunEnd());
    std::vector<int> expected = Sequence(0, 3);
    expected.insert(expected.end(), 10, 3); // the fourth fragment, 11 times in all
    EXPECT_EQ(expected, Fragments());
    EXPECT_EQ(1, Count("C_T: ***** Кол-во ошибок > 10  Индекс = 9   Фрагм. = 3"));
    EXPECT_EQ(tableReads, DeviceRequests(acceptor::kReadTable));
    EXPECT_EQ(1, Mailbox.bStopThread.load());
}

TEST_F(CoinWrite, StatusOfTwentyOrMoreIsReportedAndTheFragmentSentAgain) {
    OnDevice([](DucatAcceptor& d) { d.faults.Add({DucatFault::Refuse, kOneFragment, 1, 25, 5}); });
    const int polls = DeviceRequests(acceptor::kReadResult);
    ASSERT_TRUE(Start(acceptor::kSubWriteCoin, acceptor::kSubWriteCoin));
    ASSERT_TRUE(WaitForRequests(acceptor::kReadResult, polls));
    ASSERT_TRUE(Stop());
    EXPECT_EQ(1, Count(Refused(25)));
    std::vector<int> expected = Sequence(0, 5);
    const std::vector<int> rest = Sequence(5, 15);
    expected.insert(expected.end(), rest.begin(), rest.end());
    EXPECT_EQ(expected, Fragments());
    EXPECT_EQ(1, Count("  Параметры монеты с индексом = 9 записаны успешно"));
}

TEST_F(CoinWrite, NextFragmentPastTheLastOneIsAnError) {
    // After fragment 15 an answer of 17 names no fragment: sent again.
    OnDevice([](DucatAcceptor& d) { d.faults.Add({DucatFault::Refuse, kOneFragment, 1, 17, 15}); });
    const int polls = DeviceRequests(acceptor::kReadResult);
    ASSERT_TRUE(Start(acceptor::kSubWriteCoin, acceptor::kSubWriteCoin));
    ASSERT_TRUE(WaitForRequests(acceptor::kReadResult, polls));
    ASSERT_TRUE(Stop());
    std::vector<int> expected = Sequence(0, 15);
    expected.push_back(15);
    EXPECT_EQ(expected, Fragments());
    EXPECT_EQ(1, Count(" ++++++ Параметры всех отмеченных монет записаны успешно"));
}

TEST_F(CoinWrite, DamagedStatusRepliesCountAsErrors) {
    OnDevice([](DucatAcceptor& d) {
        d.faults.Add({DucatFault::WrongChecksum, kOneFragment, 1, 0, 2});
        d.faults.Add({DucatFault::WrongLength, kOneFragment, 1, 0, 4});
    });
    const int polls = DeviceRequests(acceptor::kReadResult);
    ASSERT_TRUE(Start(acceptor::kSubWriteCoin, acceptor::kSubWriteCoin));
    ASSERT_TRUE(WaitForRequests(acceptor::kReadResult, polls));
    ASSERT_TRUE(Stop());
    EXPECT_EQ(1, Count("***** ошибка приема CRC16 ответа 0"));
    EXPECT_EQ(1, Count("C_T: ***** ошибка приема размера пакета 255: - 5 байт"));
    // Each spoiled answer costs the fragment one repetition (the acceptor
    // had taken it, so it answers the next one again).
    EXPECT_EQ(18u, Fragments().size());
}

} // namespace
} // namespace integration
