// What the ducat console prints of a run: device bytes made visible, runs
// of one line collapsed.
#include "ui/console/console_view.h"

#include "link/front_end.h"
#include "link/log_queue.h"
#include "platform/terminal_lines.h"
#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// A FILE* whose text the test reads back.
class CapturedStream {
public:
    CapturedStream() : file_(open_memstream(&data_, &size_)) {}
    ~CapturedStream() {
        if (file_ != nullptr) std::fclose(file_);
        std::free(data_);
    }
    CapturedStream(const CapturedStream&) = delete;
    CapturedStream& operator=(const CapturedStream&) = delete;
    std::FILE* File() { return file_; }
    std::string Text() {
        std::fflush(file_);
        return std::string(data_, size_);
    }

private:
    char* data_ = nullptr;
    size_t size_ = 0;
    std::FILE* file_;
};

TEST(TerminalText, ControlBytesBecomeVisibleEscapes) {
    EXPECT_EQ("\\x1b]0;owned\\x07\\x1b[2J", platform::Cp1251ToTerminal("\x1b]0;owned\a\x1b[2J"));
    EXPECT_EQ("AB\\x00CD", platform::Cp1251ToTerminal(std::string("AB\0CD", 5)));
    EXPECT_EQ("a\\x0d\\x0ab\\x09c\\x7f", platform::Cp1251ToTerminal("a\r\nb\tc\x7f"));
    EXPECT_EQ(u8"Ошибка \\ ok", platform::Cp1251ToTerminal("Ошибка \\ ok"));
}

TEST(RepeatedLines, ARunIsShownOnceAndClosedWithItsCount) {
    CapturedStream out;
    {
        platform::RepeatedLines lines(out.File());
        for (int i = 0; i < 4; ++i) lines.Put("refused");
        lines.Put("other");
        lines.Put("other");
        lines.Put("last");
        lines.CloseRun(); // nothing held back: prints nothing
        lines.Put("last");
        lines.Put("last");
    } // the end closes the run
    EXPECT_EQ("refused\nrefused (repeated 3 times)\nother\nother (repeated 1 time)\nlast\nlast (repeated 2 times)\n",
              out.Text());
}

class ConsoleViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        LogQueueInit();
        LogQueueDrain([](const char*) {});
    }
};

TEST_F(ConsoleViewTest, RepeatedWriteFailureLinesAreCountedNotFlooded) {
    CapturedStream out;
    const char* failure = "C_T: ***** ошибка 5  функции WriteFile(hCom, ... 0х01: - 0 байт";
    {
        ConsoleView view(out.File(), false);
        for (int i = 0; i < 300; ++i) LogQueuePush(failure);
        view.Tick();
        for (int i = 0; i < 100; ++i) LogQueuePush(failure);
        view.Tick(); // the run goes on across ticks
        LogQueuePush("COM_Thread: Thread Stopped");
        view.Tick();
        view.EndRun();
    }
    const std::string shown = platform::Cp1251ToUtf8(failure);
    EXPECT_EQ(shown + "\n" + shown + " (repeated 399 times)\nCOM_Thread: Thread Stopped\n", out.Text());
}

TEST_F(ConsoleViewTest, TheRunsEndClosesARunOfRepeats) {
    CapturedStream out;
    ConsoleView view(out.File(), false);
    LogQueuePush("*** Error [ 4] when writing coin (index = 2) parameters ***");
    LogQueuePush("*** Error [ 4] when writing coin (index = 2) parameters ***");
    view.Tick();
    EXPECT_EQ("*** Error [ 4] when writing coin (index = 2) parameters ***\n", out.Text());
    view.EndRun();
    EXPECT_EQ("*** Error [ 4] when writing coin (index = 2) parameters ***\n"
              "*** Error [ 4] when writing coin (index = 2) parameters *** (repeated 1 time)\n",
              out.Text());
}

TEST_F(ConsoleViewTest, AnIdentityLineFromTheDeviceStaysOneLineAndSteersNoTerminal) {
    CapturedStream out;
    ConsoleView view(out.File(), false);
    CurrentFrontEnd().WriteIdentityLine("Addr= 1,  Serial= 5 \"\x1b]0;x\a\",  Manufacture= \"A\r\nB\",  Category= \"\x1b[2J\"");
    view.Tick();
    EXPECT_EQ("Addr= 1,  Serial= 5 \"\\x1b]0;x\\x07\",  Manufacture= \"A\\x0d\\x0aB\",  Category= \"\\x1b[2J\"\n",
              out.Text());
}

} // namespace
