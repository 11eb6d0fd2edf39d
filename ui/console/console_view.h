// What the console shows of a run, on the main thread every 100 ms as the
// main window's timer does: the queued status lines, the identity line,
// the device coin list when the thread refilled it, and each new coin
// result. Everything goes out as UTF-8.
#pragma once

#include "coindata/device_coin_table.h"

#include <cstdio>

class ConsoleView {
public:
    ConsoleView(std::FILE* out, bool showResults);
    ~ConsoleView(); // removes its hooks
    ConsoleView(const ConsoleView&) = delete;
    ConsoleView& operator=(const ConsoleView&) = delete;

    void tick();
    // An identification was accepted while this view was shown.
    bool identified() const { return identified_; }

private:
    void printLines();
    void printIdentityLine();
    void printCoinList();
    void printCountChanges(const DeviceCoinRows& rows);
    void printResult();
    void print(const char* cp1251Text);

    std::FILE* out_;
    bool showResults_;
    bool identified_ = false;
    // The list as last printed: a refill that only changed counts prints
    // just the rows whose count moved.
    bool listShown_ = false;
    DeviceCoinRows shownRows_{};
};
