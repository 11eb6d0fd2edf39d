// Sub-command 2: the acceptor's log, page by page, into the log dump file.
#include "acceptor_fixture.h"

#include "coindata/files/checksum_envelope.h"
#include "coindata/records/device_info.h"
#include "commands/protocol/acceptor_layouts.h"
#include "cipher/block_cipher.h"
#include "commands/log_read.h"
#include "link/checksums.h"
#include "link/command_mailbox.h"
#include "tests/support/run_environment_parts.h"

#include <fstream>
#include <iterator>

namespace integration {
namespace {

using sim::DucatAcceptor;
using sim::DucatFault;

constexpr int kLogPage = acceptor::kReadLogPage;
constexpr size_t kPage = 256;

class LogExport : public AcceptorTest {
protected:
    void Prepare(size_t pages) {
        OnDevice([&](DucatAcceptor& d) {
            d.identity.serialText = "LOG-42";
            d.SetLogPages(pages, 99);
            logBytes = d.Log();
        });
        Identify();
    }

    std::vector<uint8_t> DumpFile() {
        std::ifstream in(dumpFolder + "/LOG-42.tea", std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }

    std::string PageRead(int page, int pages) {
        return "Page " + std::to_string(page) + " of " + std::to_string(pages) + " Log File is Read";
    }

    std::vector<uint8_t> logBytes;
};

TEST_F(LogExport, ZeroInPageZeroMeansTwoPagesAndTheDumpDeciphersToTheLog) {
    Prepare(2);
    ASSERT_EQ(0, logBytes[226]);
    ASSERT_EQ(0, logBytes[227]);
    ASSERT_TRUE(Start(acceptor::kSubReadLog, acceptor::kSubReadLog));
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ(2, DeviceRequests(kLogPage));
    std::vector<uint8_t> request;
    OnDevice([&](DucatAcceptor& d) { request = d.LastRequest(kLogPage); });
    ASSERT_EQ(15u, request.size());
    EXPECT_EQ(SimpleChecksum(request.data(), 14), request[14]);
    DecipherBuffer(request.data() + 6, 8, GetDeviceInfo().dwSerial);
    EXPECT_EQ((std::vector<uint8_t>{1, 10, 1, 255, 0x13, 0, 1, 0, 0, 0, 0, 0}),
              std::vector<uint8_t>(request.begin(), request.begin() + 12));
    EXPECT_EQ(Crc16(request.data(), 12), LoadLe16(request.data() + 12));
    const int first = Find(PageRead(0, 2));
    ASSERT_GE(first, 0);
    EXPECT_EQ(first + 1, Find(PageRead(1, 2)));
    EXPECT_TRUE(Saw("Удаление  pstrBufferProg  Com_Thread  Exit"));

    std::vector<uint8_t> file = DumpFile();
    ASSERT_EQ(2 * kPage + 256 + 4, file.size());
    EXPECT_TRUE(EnvelopeMatches(file.data(), file.size()));
    DecipherBuffer(file.data(), static_cast<uint32_t>(file.size() - 4), 0);
    EXPECT_TRUE(std::equal(logBytes.begin(), logBytes.end(), file.begin()));
    const uint8_t* trailer = file.data() + 2 * kPage;
    EXPECT_EQ(GetDeviceInfo().dwSerial, LoadLe32(trailer + 1));
    EXPECT_STREQ("LOG-42", reinterpret_cast<const char*>(trailer + 5));
    EXPECT_EQ(Crc16(file.data(), 2 * kPage + 254), LoadLe16(trailer + 254));
}

TEST_F(LogExport, WrongPageIsReportedAndAskedForAgain) {
    Prepare(8);
    OnDevice([](DucatAcceptor& d) { d.faults.Add({DucatFault::WrongPage, kLogPage, 1, 0, 3}); });
    ASSERT_TRUE(Start(acceptor::kSubReadLog, acceptor::kSubReadLog));
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ(1, Count("***** Ошибочный номер фрагмента = 4, нужен - 3. "));
    EXPECT_EQ(9, DeviceRequests(kLogPage));
    EXPECT_EQ(1, Count(PageRead(3, 8)));
    std::vector<uint8_t> file = DumpFile();
    ASSERT_EQ(8 * kPage + 256 + 4, file.size());
    DecipherBuffer(file.data(), static_cast<uint32_t>(file.size() - 4), 0);
    EXPECT_TRUE(std::equal(logBytes.begin(), logBytes.end(), file.begin()));
}

TEST_F(LogExport, DamagedPagesAreReportedWithTheirOwnTexts) {
    Prepare(4);
    OnDevice([](DucatAcceptor& d) {
        d.faults.Add({DucatFault::WrongCrc, kLogPage, 1, 0, 1});
        d.faults.Add({DucatFault::WrongChecksum, kLogPage, 1, 0, 2});
    });
    ASSERT_TRUE(Start(acceptor::kSubReadLog, acceptor::kSubReadLog));
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ(1, Count("***** ошибка приема CRC16 ответа"));
    EXPECT_EQ(1, Count("***** ошибка приема контрольной суммы"));
    EXPECT_EQ(6, DeviceRequests(kLogPage));
    EXPECT_EQ(4 * kPage + 256 + 4, DumpFile().size());
}

TEST_F(LogExport, PageTotalIsBoundedByWhatARequestCanName) {
    Prepare(0xFFFF + 2); // page 0 announces 0xFFFF + 2 pages
    ASSERT_TRUE(Start(acceptor::kSubReadLog, acceptor::kSubReadLog));
    ASSERT_TRUE(WaitUntil([&] { return Saw(PageRead(1, 0x10000)); }));
    ASSERT_TRUE(Stop());
    EXPECT_TRUE(Saw(PageRead(0, 0x10000)));
    EXPECT_TRUE(DumpFile().empty());
}

uint8_t* NoMemory(size_t) { return nullptr; }

TEST_F(LogExport, NoMemoryForThePagesEndsTheRunWithAMessage) {
    Prepare(2);
    testing_support::UseBlockAllocator(NoMemory);
    ASSERT_TRUE(Start(acceptor::kSubReadLog, acceptor::kSubReadLog));
    const bool ended = WaitForRunEnd();
    testing_support::UseBlockAllocator(RunEnvironment{}.allocateBlock);
    ASSERT_TRUE(ended);
    EXPECT_EQ(1, Count("C_T: ***** Нет памяти для журнала: 2 страниц"));
    EXPECT_EQ(1, DeviceRequests(kLogPage));
    EXPECT_FALSE(Saw(PageRead(0, 2)));
    EXPECT_TRUE(DumpFile().empty());
}

TEST_F(LogExport, MoreThanHundredErrorsSpreadOverPagesEndTheRead) {
    Prepare(300);
    OnDevice([](DucatAcceptor& d) {
        // Every other request answers the wrong page.
        for (int i = 0; i < 101; ++i) d.faults.Add({DucatFault::WrongPage, kLogPage, 1, 0, 2 * i + 1});
    });
    Mailbox.iTargetCoinIndex = 4; // shown, though unrelated to the log
    ASSERT_TRUE(Start(acceptor::kSubReadLog, acceptor::kSubReadLog));
    ASSERT_TRUE(WaitForRunEnd(60000));
    EXPECT_EQ(202, DeviceRequests(kLogPage));
    EXPECT_EQ(1, Count("C_T: ***** Кол-во ошибок > 100  Индекс = 4   Фрагм. = 101"));
    EXPECT_TRUE(DumpFile().empty());
}

} // namespace
} // namespace integration
