// The pauses of the code under fuzzing (100 ms between two monitoring
// polls, 500 ms before a transfer block is freed) would hold a fuzzer to a
// few inputs a second. While a QuickPauses lives, every sleep on its own
// thread returns at once; other threads, the fuzzer's own among them, sleep
// as asked.
#pragma once

class QuickPauses {
public:
    QuickPauses();
    ~QuickPauses();
    QuickPauses(const QuickPauses&) = delete;
    QuickPauses& operator=(const QuickPauses&) = delete;

private:
    bool previous_;
};
