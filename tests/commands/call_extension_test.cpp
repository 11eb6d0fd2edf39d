// CallExtension against the virtual acceptor on a port in memory: requests
// sealed and replies opened as each command's descriptor says, and every
// failure worded as the command words it.
#include "commands/extension_exchange.h"

#include "coindata/records/device_info.h"
#include "commands/protocol/extension_commands.h"
#include "link/log_queue.h"
#include "sim/ducat/ducat_acceptor.h"
#include "tests/support/fake_serial_port.h"
#include "tests/support/mailbox_reset.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testing_support::FakeWriteAnswer;

constexpr uint32_t kSerial = 123456789;

class CallExtensionTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::ResetMailbox();
        DeviceInfo info;
        info.dwSerial = kSerial; // the link's key
        SetDeviceInfo(info);
        device.identity.serial = kSerial;
        script.replySource = [this](const uint8_t* bytes, size_t n) {
            FakeWriteAnswer answer;
            device.OnBytes(bytes, n, answer.reply);
            return answer;
        };
        run.port = &port;
        Lines();
    }
    void TearDown() override {
        SetDeviceInfo(DeviceInfo{});
        Lines();
    }

    // The queued lines; the queue is empty afterwards.
    static std::vector<std::string> Lines() {
        std::vector<std::string> lines;
        LogQueueDrain([&](const char* line) { lines.emplace_back(line); });
        return lines;
    }

    void Spoil(sim::DucatFault kind, uint8_t function) {
        sim::DucatFaultRule rule;
        rule.kind = kind;
        rule.function = function;
        device.faults.Add(rule);
    }

    ExtensionReply ReadPage(uint16_t page) {
        acceptor::RequestPayload request(acceptor::kReadLogCommand);
        request.Put(acceptor::log_page::kPage, page);
        return CallExtension(run, request);
    }

    sim::DucatAcceptor device;
    testing_support::FakePortScript script;
    testing_support::FakePortLog log;
    testing_support::FakeSerialPort port{script, log};
    RunState run;
};

TEST_F(CallExtensionTest, OpensASealedLogPage) {
    namespace p = acceptor::log_page;
    const ExtensionReply reply = ReadPage(3);
    ASSERT_TRUE(reply.Usable());
    EXPECT_TRUE(reply.crcHolds);
    EXPECT_EQ(p::kReplyData, reply.size);
    EXPECT_EQ(3, reply.Le16(p::kPageInData));
    const std::vector<uint8_t> page(reply.data + p::kPageBytesInData, reply.data + p::kPageBytesInData + p::kPageBytes);
    EXPECT_EQ(std::vector<uint8_t>(device.Log().begin() + 3 * 256, device.Log().begin() + 4 * 256), page);
    // The request went out as 15 bytes, its page enciphered.
    ASSERT_EQ(1u, log.writes.size());
    EXPECT_EQ(p::kRequestLength, log.writes[0].size());
    EXPECT_NE(3, log.writes[0][p::kPageAt]);
    EXPECT_TRUE(Lines().empty());
}

TEST_F(CallExtensionTest, RefusesAReplyWhoseCrcIsWrongWithTheCommandsWords) {
    Spoil(sim::DucatFault::WrongCrc, acceptor::kReadLogPage);
    ExtensionReply reply = ReadPage(0);
    EXPECT_FALSE(reply.Usable());
    EXPECT_FALSE(reply.crcHolds);
    EXPECT_FALSE(EndsRun(reply));
    EXPECT_EQ(std::vector<std::string>{"***** ошибка приема CRC16 ответа"}, Lines());

    Spoil(sim::DucatFault::WrongCrc, acceptor::kReadTable);
    reply = CallExtension(run, acceptor::RequestPayload(acceptor::kReadTableCommand));
    EXPECT_FALSE(reply.Usable());
    EXPECT_EQ(std::vector<std::string>{"***** ошибка приема CRC16"}, Lines());

    // A coin result whose CRC-16 is wrong is dropped without a word.
    Spoil(sim::DucatFault::WrongCrc, acceptor::kReadResult);
    reply = CallExtension(run, acceptor::RequestPayload(acceptor::kMonitorCommand));
    EXPECT_FALSE(reply.Usable());
    EXPECT_FALSE(reply.crcHolds);
    EXPECT_TRUE(Lines().empty());
    // The next one is whole again.
    EXPECT_TRUE(CallExtension(run, acceptor::RequestPayload(acceptor::kMonitorCommand)).Usable());
}

TEST_F(CallExtensionTest, WordsAWrongChecksumAsEachCommandDoes) {
    Spoil(sim::DucatFault::WrongChecksum, acceptor::kReadLogPage);
    EXPECT_FALSE(ReadPage(1).Usable());
    EXPECT_EQ(std::vector<std::string>{"***** ошибка приема контрольной суммы"}, Lines());

    Spoil(sim::DucatFault::WrongChecksum, acceptor::kWriteParams);
    EXPECT_FALSE(CallExtension(run, acceptor::RequestPayload(acceptor::kWriteParamsCommand)).Usable());
    EXPECT_EQ(std::vector<std::string>{"*****  CRC16 Error  *****"}, Lines());

    Spoil(sim::DucatFault::WrongChecksum, acceptor::kIdentify);
    EXPECT_FALSE(CallExtension(run, acceptor::RequestPayload(acceptor::kIdentifyCommand)).Usable());
    EXPECT_EQ(std::vector<std::string>{"***** ошибка приема CRC16 ответа 0"}, Lines());
}

TEST_F(CallExtensionTest, SealsASettingTheAcceptorTakes) {
    namespace s = acceptor::write_setting;
    acceptor::RequestPayload request(acceptor::kWriteDividerCommand);
    request.Put(s::kRow, 2);
    request.Put(s::kAllowed, 0);
    request.Put(s::kDivider, 9);
    const ExtensionReply reply = CallExtension(run, request);
    ASSERT_TRUE(reply.Usable());
    EXPECT_EQ(0, reply.Byte(acceptor::status_reply::kStatusInData));
    EXPECT_EQ(9, device.table[2].divider);
    EXPECT_EQ(0, device.table[2].allowed);
    ASSERT_EQ(1u, log.writes.size());
    EXPECT_EQ(s::kRequestLength, log.writes[0].size());

    // Sealed with another key, the acceptor finds the CRC-16 wrong (status 2).
    DeviceInfo other;
    other.dwSerial = kSerial + 1;
    SetDeviceInfo(other);
    request.Put(s::kDivider, 11);
    EXPECT_EQ(2, CallExtension(run, request).Byte(acceptor::status_reply::kStatusInData));
    EXPECT_EQ(9, device.table[2].divider);
}

} // namespace
