// The five starters: what each writes into the mailbox before its run, what
// it queues when its run cannot start, and what a refused start leaves.
#include "ui/starters.h"

#include "coindata/records/device_coin_table.h"
#include "link/command_mailbox.h"
#include "link/log_queue.h"
#include "tests/support/mailbox_reset.h"
#include "tests/support/run_environment_parts.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using testing_support::UseThreadStarter;

std::vector<std::string> DrainLines() {
    std::vector<std::string> lines;
    LogQueueDrain([&](const char* line) { lines.emplace_back(line); });
    return lines;
}

bool NoThread(platform::ThreadProc, void*) { return false; }
// Starts nothing but reports a start: the run then exists until the test clears it.
bool PretendThread(platform::ThreadProc, void*) { return true; }

class Starters : public testing::Test {
protected:
    void SetUp() override {
        LogQueueInit();
        DrainLines();
        testing_support::ResetMailbox();
        Mailbox.hComThread = 0;
        Mailbox.dwLastRecordNumber = 1234;
    }
    void TearDown() override {
        testing_support::RestoreRunEnvironment();
        Mailbox.hComThread = 0;
        DrainLines();
    }
};

struct Row {
    const char* name;
    std::function<bool()> start;
    uint8_t subCommand;
    int32_t nextCommand;
    bool resetsRecordNumber;
    const char* failure;
};

std::vector<Row> AllStarters() {
    return {
        {"START", StartIdentification, 0, 3, true, "DlgProc:  Ошибка создания потока обслуживания COM-порта"},
        {"export", StartLogExport, 2, 2, true, " **** Error creating COM service thread"},
        {"coin write", [] { return StartCoinWrite(9); }, 1, 1, true,
         "DlgProc:  Ошибка создания потока обслуживания COM-порта"},
        {"divider", [] { return StartDividerEdit(4, "17", true); }, 6, 6, false,
         "*** Divider_Edit_DlgProc:  Error creating COM service thread"},
        {"max errors", [] { return StartMaxErrorsEdit("12", "30", "3"); }, 7, 7, true,
         "DlgProc:  Error creating COM service thread"},
    };
}

TEST_F(Starters, EachWritesItsCommandAndStarts) {
    UseThreadStarter(&PretendThread);
    for (const Row& row : AllStarters()) {
        SCOPED_TRACE(row.name);
        Mailbox.hComThread = 0;
        Mailbox.dwLastRecordNumber = 1234;
        EXPECT_TRUE(row.start());
        EXPECT_NE(0u, Mailbox.hComThread.load());
        EXPECT_EQ(255, Mailbox.iCommand.load());
        EXPECT_EQ(row.subCommand, Mailbox.bSubCommand.load());
        EXPECT_EQ(row.nextCommand, Mailbox.iNextCommand.load());
        EXPECT_EQ(row.resetsRecordNumber ? -1 : 1234, Mailbox.dwLastRecordNumber.load());
        EXPECT_TRUE(DrainLines().empty());
    }
}

TEST_F(Starters, FailedThreadStartQueuesTheStartersOwnText) {
    UseThreadStarter(&NoThread);
    for (const Row& row : AllStarters()) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(row.start());
        EXPECT_EQ(0u, Mailbox.hComThread.load());
        EXPECT_EQ((std::vector<std::string>{row.failure}), DrainLines());
    }
}

TEST_F(Starters, WhatTheRunReadsIsWrittenBeforeItStarts) {
    UseThreadStarter(&PretendThread);
    ASSERT_TRUE(StartCoinWrite(9));
    EXPECT_EQ(9, Mailbox.iTargetCoinIndex.load());

    Mailbox.hComThread = 0;
    ASSERT_TRUE(StartDividerEdit(4, "300", true));
    EXPECT_EQ(4, Mailbox.iSelectedDeviceCoin.load());
    const DeviceCoinEntry row = stDeviceCoins.GetDeviceCoins()[4];
    EXPECT_EQ(255, row.iErrorDivider); // clamped as the dialog does
    EXPECT_EQ(1, row.bInherit);

    Mailbox.hComThread = 0;
    ASSERT_TRUE(StartMaxErrorsEdit("12", "30", "3"));
    const AcceptanceParameters params = stDeviceCoins.GetAcceptanceParams();
    EXPECT_EQ(12, params.Max_Error);
    EXPECT_EQ(30, params.NNet_Divider);
    EXPECT_EQ(3, params.Numb_Stand_Dev);
}

TEST_F(Starters, WhileARunExistsEachRefusesAndChangesNothing) {
    UseThreadStarter(&PretendThread);
    ASSERT_TRUE(StartDividerEdit(5, "20", false));
    Mailbox.hComThread = 77;
    Mailbox.bSubCommand = 5;
    Mailbox.iTargetCoinIndex = 2;
    const DeviceCoinEntry rowBefore = stDeviceCoins.GetDeviceCoins()[5];
    const AcceptanceParameters paramsBefore = stDeviceCoins.GetAcceptanceParams();
    for (const Row& row : AllStarters()) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(row.start());
        EXPECT_EQ(77u, Mailbox.hComThread.load());
        EXPECT_EQ(5, Mailbox.bSubCommand.load());
        // Only the divider dialog words this case itself.
        const std::string text = row.subCommand == 6
                                     ? "*** Divider_Edit_DlgProc - Ошибка: уже запущен поток  \"COM_Thread\""
                                     : row.failure;
        EXPECT_EQ((std::vector<std::string>{text}), DrainLines());
    }
    EXPECT_EQ(2, Mailbox.iTargetCoinIndex.load());
    EXPECT_EQ(5, Mailbox.iSelectedDeviceCoin.load());
    const DeviceCoinEntry rowAfter = stDeviceCoins.GetDeviceCoins()[5];
    EXPECT_EQ(rowBefore.iErrorDivider, rowAfter.iErrorDivider);
    EXPECT_EQ(rowBefore.bInherit, rowAfter.bInherit);
    const AcceptanceParameters paramsAfter = stDeviceCoins.GetAcceptanceParams();
    EXPECT_EQ(paramsBefore.Max_Error, paramsAfter.Max_Error);
    EXPECT_EQ(paramsBefore.NNet_Divider, paramsAfter.NNet_Divider);
}

} // namespace
