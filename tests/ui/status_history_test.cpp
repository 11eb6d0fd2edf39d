#include "ui/status_history.h"

#include <gtest/gtest.h>

#include <string>

namespace {

StatusTime At(int second, int millisecond) { return StatusTime{9, 5, second, millisecond}; }

TEST(StatusHistory, KeepsEachLineWithItsTimeOldestFirst) {
    StatusHistory history;
    EXPECT_EQ("", history.Text());
    history.Add(At(7, 40), "DlgProc:  start failed");
    history.Add(At(7, 140), "COM_Thread: Thread Stopped");
    EXPECT_EQ(2u, history.Count());
    EXPECT_EQ("09:05:07.040  DlgProc:  start failed\r\n09:05:07.140  COM_Thread: Thread Stopped", history.Text());
}

TEST(StatusHistory, FormatsTheTimeOfDayWithMilliseconds) {
    EXPECT_EQ("00:00:00.000", FormatStatusTime(StatusTime{}));
    EXPECT_EQ("23:59:59.999", FormatStatusTime(StatusTime{23, 59, 59, 999}));
}

TEST(StatusHistory, KeepsTheNewest500Lines) {
    StatusHistory history;
    for (int i = 0; i < 700; ++i) history.Add(At(0, i % 1000), "line " + std::to_string(i));
    EXPECT_EQ(StatusHistory::kLines, history.Count());
    const std::string text = history.Text();
    EXPECT_EQ(0u, text.find("09:05:00.200  line 200\r\n"));
    EXPECT_EQ(std::string::npos, text.find("line 199\r\n"));
    EXPECT_EQ(text.size() - std::string("line 699").size(), text.rfind("line 699"));
}

TEST(StatusHistory, ALineBreakInsideALineStaysOnItsLine) {
    StatusHistory history;
    history.Add(At(1, 2), "first\r\nsecond\nthird");
    EXPECT_EQ("09:05:01.002  first  second third", history.Text());
}

TEST(StatusHistory, KeepsCodePage1251BytesAsTheyCame) {
    StatusHistory history;
    const std::string russian = "\xCF\xEE\xF0\xF2 COM6"; // "Порт" in code page 1251
    history.Add(At(0, 0), russian);
    EXPECT_EQ("09:05:00.000  " + russian, history.Text());
}

} // namespace
