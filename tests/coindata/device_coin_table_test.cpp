#include "coindata/records/device_coin_table.h"
#include "coindata/records/device_info.h"
#include "link/checksums.h"
#include "sim/ducat/coin_table_reply.h"

#include "coindata_test_support.h"

#include <algorithm>
#include <cstring>
#include <thread>

namespace {

// A coin table answer with row i named "RUxx0i", divider 10+i, allowed
// i%2, firm 100+i and time 0x11223300+i; parameters after the rows.
Bytes TableReply() {
    Bytes data(kCoinTableReplyBytes, 0xCC);
    for (size_t i = 0; i < 16; ++i) {
        const size_t at = 4 + 13 * i;
        const std::string id = "RUxx0" + std::string(1, static_cast<char>('A' + i));
        std::memcpy(&data[at], id.data(), 6);
        data[at + 6] = static_cast<uint8_t>(10 + i);
        data[at + 7] = static_cast<uint8_t>(i % 2);
        data[at + 8] = static_cast<uint8_t>(100 + i);
        PutLe32(data, at + 9, 0x11223300u + static_cast<uint32_t>(i));
    }
    data[212] = 33;                 // NNet_Divider
    data[213] = 3;                  // Numb_Stand_Dev
    StoreLe16(&data[214], 300);     // Max_Error
    PutLe32(data, 216, 0x5E0BE100); // tStructureWritten
    StoreLe16(&data[220], 50);      // wMinTravelTime
    StoreLe16(&data[222], 301);     // wMaxTravelTime
    StoreLe16(&data[234], Crc16(data.data(), 234));
    return data;
}

TEST(DeviceCoinTable, StartsEmptyWithTheInitialParameters) {
    DeviceCoinTable table;
    EXPECT_FALSE(table.IsDeviceListValid());
    const AcceptanceParameters p = table.GetAcceptanceParams();
    EXPECT_EQ(100, p.Max_Error);
    EXPECT_EQ(40, p.NNet_Divider);
    EXPECT_EQ(2, p.Numb_Stand_Dev);
    EXPECT_EQ(40, p.wMinTravelTime);
    EXPECT_EQ(250, p.wMaxTravelTime);
    EXPECT_EQ(0u, p.tStructureWritten);
    for (const DeviceCoinEntry& row : table.GetDeviceCoins()) EXPECT_EQ(0, row.iAcceptCount);
}

TEST(DeviceCoinTable, StoresEveryRowAndTheParameters) {
    DeviceCoinTable table;
    Bytes reply = TableReply();
    reply[4 + 13 * 3] = '.'; // row 3 is empty, the rest of it is stored as it comes
    StoreLe16(&reply[234], Crc16(reply.data(), 234));
    ASSERT_TRUE(table.StoreCoinTableReply(reply.data(), reply.size()));
    EXPECT_TRUE(table.IsDeviceListValid());

    const DeviceCoinRows rows = table.GetDeviceCoins();
    EXPECT_STREQ("RUxx0A", rows[0].szCoinId);
    EXPECT_STREQ("RUxx0P", rows[15].szCoinId);
    EXPECT_EQ('.', rows[3].szCoinId[0]);
    EXPECT_EQ(13, rows[3].iErrorDivider);
    EXPECT_EQ(1, rows[3].bInherit);
    EXPECT_EQ(103, rows[3].iFirm);
    EXPECT_EQ(0x11223303, rows[3].tWritten);
    EXPECT_EQ(25, rows[15].iErrorDivider);
    EXPECT_EQ(0, rows[14].bInherit);

    const AcceptanceParameters p = table.GetAcceptanceParams();
    EXPECT_EQ(300, p.Max_Error);
    EXPECT_EQ(33, p.NNet_Divider);
    EXPECT_EQ(3, p.Numb_Stand_Dev);
    EXPECT_EQ(0x5E0BE100u, p.tStructureWritten);
    EXPECT_EQ(50, p.wMinTravelTime);
    EXPECT_EQ(301, p.wMaxTravelTime);
}

TEST(DeviceCoinTable, TimeAboveTwoToTheThirtyOneStaysPositive) {
    DeviceCoinTable table;
    Bytes reply = TableReply();
    PutLe32(reply, 4 + 9, 0xFFFFFFF0u);
    StoreLe16(&reply[234], Crc16(reply.data(), 234));
    ASSERT_TRUE(table.StoreCoinTableReply(reply.data(), reply.size()));
    EXPECT_EQ(int64_t{0xFFFFFFF0}, table.GetDeviceCoins()[0].tWritten);
}

TEST(DeviceCoinTable, AWrongCrcOrLengthChangesNothing) {
    DeviceCoinTable table;
    const AcceptanceParameters before = table.GetAcceptanceParams();
    Bytes reply = TableReply();
    reply[100] ^= 1;
    EXPECT_FALSE(table.StoreCoinTableReply(reply.data(), reply.size()));
    EXPECT_FALSE(table.StoreCoinTableReply(TableReply().data(), kCoinTableReplyBytes - 1));
    EXPECT_FALSE(table.StoreCoinTableReply(nullptr, kCoinTableReplyBytes));
    EXPECT_FALSE(table.IsDeviceListValid());
    EXPECT_EQ(before.Max_Error, table.GetAcceptanceParams().Max_Error);
    EXPECT_STREQ("", table.GetDeviceCoins()[0].szCoinId);

    // After a good table a bad one keeps the good one.
    ASSERT_TRUE(table.StoreCoinTableReply(TableReply().data(), kCoinTableReplyBytes));
    Bytes other = TableReply();
    other[4] = 'Z';
    other[212] = 1;
    EXPECT_FALSE(table.StoreCoinTableReply(other.data(), other.size()));
    EXPECT_STREQ("RUxx0A", table.GetDeviceCoins()[0].szCoinId);
    EXPECT_EQ(33, table.GetAcceptanceParams().NNet_Divider);
}

TEST(DeviceCoinTable, EncodingGivesTheReplyBack) {
    DeviceCoinTable table;
    Bytes reply = TableReply();
    ASSERT_TRUE(table.StoreCoinTableReply(reply.data(), reply.size()));
    const CoinTableReply encoded = sim::EncodeCoinTableReply(table.GetDeviceCoins(), table.GetAcceptanceParams());
    // Bytes 0-3 and 224-233 carry nothing.
    std::fill(reply.begin(), reply.begin() + 4, 0);
    std::fill(reply.begin() + 224, reply.begin() + 234, 0);
    StoreLe16(&reply[234], Crc16(reply.data(), 234));
    EXPECT_EQ(reply, Bytes(encoded.begin(), encoded.end()));
}

TEST(DeviceCoinTable, ATableReadKeepsTheAcceptCounts) {
    DeviceCoinTable table;
    EXPECT_TRUE(table.IncrementAcceptCount(0));
    EXPECT_TRUE(table.IncrementAcceptCount(15));
    EXPECT_TRUE(table.IncrementAcceptCount(15));
    EXPECT_FALSE(table.IncrementAcceptCount(16));
    EXPECT_FALSE(table.IncrementAcceptCount(-1));
    ASSERT_TRUE(table.StoreCoinTableReply(TableReply().data(), kCoinTableReplyBytes));
    const DeviceCoinRows rows = table.GetDeviceCoins();
    EXPECT_EQ(1, rows[0].iAcceptCount);
    EXPECT_EQ(2, rows[15].iAcceptCount);
    int32_t total = 0;
    for (const DeviceCoinEntry& row : rows) total += row.iAcceptCount;
    EXPECT_EQ(3, total);
}

TEST(DeviceCoinTable, DialogValuesGoIntoOneRow) {
    DeviceCoinTable table;
    EXPECT_TRUE(table.SetRowDividerAndInherit(7, 120, 1));
    EXPECT_FALSE(table.SetRowDividerAndInherit(16, 1, 1));
    EXPECT_FALSE(table.SetRowDividerAndInherit(-1, 1, 1));
    const DeviceCoinRows rows = table.GetDeviceCoins();
    EXPECT_EQ(120, rows[7].iErrorDivider);
    EXPECT_EQ(1, rows[7].bInherit);
    EXPECT_EQ(0, rows[6].iErrorDivider);
    AcceptanceParameters p;
    p.Max_Error = 555;
    p.NNet_Divider = 7;
    table.SetAcceptanceParams(p);
    EXPECT_EQ(555, table.GetAcceptanceParams().Max_Error);
    EXPECT_EQ(7, table.GetAcceptanceParams().NNet_Divider);
}

// The service thread stores tables while the window thread reads them; a
// snapshot is always one whole table (and ThreadSanitizer sees no race).
TEST(DeviceCoinTable, SnapshotsAreWholeTables) {
    DeviceCoinTable table;
    Bytes a = TableReply();
    Bytes b = TableReply();
    for (size_t i = 0; i < 16; ++i) b[4 + 13 * i + 6] = 200;
    b[212] = 200;
    StoreLe16(&b[234], Crc16(b.data(), 234));
    std::thread writer([&] {
        for (int i = 0; i < 2000; ++i) {
            table.StoreCoinTableReply((i % 2 ? a : b).data(), kCoinTableReplyBytes);
            table.IncrementAcceptCount(i % 16);
        }
    });
    for (int i = 0; i < 2000; ++i) {
        const DeviceCoinRows rows = table.GetDeviceCoins();
        for (const DeviceCoinEntry& row : rows) ASSERT_EQ(rows[0].iErrorDivider == 200, row.iErrorDivider == 200);
    }
    writer.join();
    int32_t total = 0;
    for (const DeviceCoinEntry& row : table.GetDeviceCoins()) total += row.iAcceptCount;
    EXPECT_EQ(2000, total);
}

TEST(DeviceInfoStore, CopiesInAndOutAndKeepsTextsTerminated) {
    DeviceInfo info;
    info.bAddress = 2;
    info.dwSerial = 0xDEADBEEF;
    std::memset(info.szSerial, 'S', sizeof info.szSerial);
    std::strcpy(info.szManufacturer, "MAKER");
    std::memset(info.szRevision, 'R', sizeof info.szRevision);
    SetDeviceInfo(info);
    const DeviceInfo back = GetDeviceInfo();
    EXPECT_EQ(2, back.bAddress);
    EXPECT_EQ(0xDEADBEEFu, back.dwSerial);
    EXPECT_EQ(std::string(31, 'S'), back.szSerial);
    EXPECT_STREQ("MAKER", back.szManufacturer);
    EXPECT_EQ(std::string(5, 'R'), back.szRevision);
    SetDeviceInfo(DeviceInfo{});
}

} // namespace
