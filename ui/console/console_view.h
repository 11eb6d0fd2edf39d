// What the console shows of a run, on the main thread every 100 ms as the
// main window's timer does: the queued status lines, the identity line,
// the device coin list when the thread refilled it, and each new coin
// result. Everything goes out as UTF-8, control bytes from the device as
// visible escapes, and a line that repeats the one before it is counted
// instead of printed again.
#pragma once

#include "coindata/device_coin_table.h"
#include "platform/terminal_lines.h"

#include <cstdio>

class ConsoleView {
public:
    ConsoleView(std::FILE* out, bool showResults);
    ~ConsoleView(); // removes its hooks
    ConsoleView(const ConsoleView&) = delete;
    ConsoleView& operator=(const ConsoleView&) = delete;

    void tick();
    // The run is over: a run of repeated lines is closed now.
    void endRun();

private:
    void printLines();
    void printIdentityLine();
    void printCoinList();
    void printCountChanges(const DeviceCoinRows& rows);
    void printResult();
    void print(const char* cp1251Text);

    platform::RepeatedLines lines_;
    bool showResults_;
    // The list as last printed: a refill that only changed counts prints
    // just the rows whose count moved.
    bool listShown_ = false;
    DeviceCoinRows shownRows_{};
};
