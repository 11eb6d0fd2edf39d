// The five starters: what each writes into the mailbox and what it queues
// when its run cannot start.
#include "ui/starters.h"

#include "link/command_mailbox.h"
#include "link/log_queue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> DrainLines() {
    std::vector<std::string> lines;
    LogQueueDrain([&](const char* line) { lines.emplace_back(line); });
    return lines;
}

bool NoThread(platform::ThreadProc, void*) { return false; }

class Starters : public testing::Test {
protected:
    void SetUp() override {
        LogQueueInit();
        DrainLines();
        Mailbox.hComThread = 0;
    }
    void TearDown() override {
        SetThreadStarterForTesting(nullptr);
        Mailbox.hComThread = 0;
        DrainLines();
    }
};

struct Row {
    StartRequest request;
    uint8_t subCommand;
    int32_t nextCommand;
    bool resetsRecordNumber;
    const char* failure;
};

TEST_F(Starters, EachWritesItsCommandAndNamesItsFailure) {
    const Row rows[] = {
        {StartButtonRequest(), 0, 3, true, "DlgProc:  Ошибка создания потока обслуживания COM-порта"},
        {ExportLogRequest(), 2, 2, true, " **** Error creating COM service thread"},
        {CoinWriteRequest(), 1, 1, true, "DlgProc:  Ошибка создания потока обслуживания COM-порта"},
        {DividerEditRequest(), 6, 6, false, "*** Divider_Edit_DlgProc:  Error creating COM service thread"},
        {MaxErrorsRequest(), 7, 7, true, "DlgProc:  Error creating COM service thread"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.failure);
        EXPECT_EQ(255, row.request.command);
        EXPECT_EQ(row.subCommand, row.request.subCommand);
        EXPECT_EQ(row.nextCommand, row.request.nextCommand);
        EXPECT_EQ(row.resetsRecordNumber, row.request.resetRecordNumber);
        EXPECT_STREQ(row.failure, row.request.failureMessage);
    }
}

TEST_F(Starters, FailedThreadStartQueuesTheStartersOwnText) {
    SetThreadStarterForTesting(&NoThread);
    EXPECT_FALSE(StartComRun(DividerEditRequest()));
    EXPECT_FALSE(StartComRun(ExportLogRequest()));
    EXPECT_EQ((std::vector<std::string>{"*** Divider_Edit_DlgProc:  Error creating COM service thread",
                                        " **** Error creating COM service thread"}),
              DrainLines());
}

TEST_F(Starters, DividerDialogRefusesWhileARunExistsWithItsOwnText) {
    SetThreadStarterForTesting(&NoThread);
    Mailbox.hComThread = 77;
    EXPECT_FALSE(StartComRun(DividerEditRequest()));
    EXPECT_EQ((std::vector<std::string>{"*** Divider_Edit_DlgProc - Ошибка: уже запущен поток  \"COM_Thread\""}),
              DrainLines());
    EXPECT_EQ(77u, Mailbox.hComThread.load());
}

} // namespace
