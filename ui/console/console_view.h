// What the console shows of a run, on the main thread every 100 ms as the
// main window's timer does: the status lines its run watch hands over, the
// identity line, the device coin list when the thread refilled it, and the
// newest coin result a look brought. Everything goes out as UTF-8, control
// bytes from the device as visible escapes, and a line that repeats the one
// before it is counted instead of printed again. While it exists it is the
// runs' front end.
#pragma once

#include "coindata/records/device_coin_table.h"
#include "link/front_end.h"
#include "platform/terminal_lines.h"
#include "ui/run_watch.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <utility>

class ConsoleView final : public FrontEnd {
public:
    ConsoleView(std::FILE* out, bool showResults);
    ~ConsoleView() override; // no longer the front end
    ConsoleView(const ConsoleView&) = delete;
    ConsoleView& operator=(const ConsoleView&) = delete;

    // Shows what one look of the run watch brought, and returns the look.
    RunLook Tick();
    // Where the chain of the last run looked at had come (RunLook::subCommand).
    uint8_t LastSubCommand() const { return lastSubCommand_; }
    // STOP, as the window's button does.
    void Stop() { watch_.Stop(); }
    // Every look goes to `listener` too (the calibration report takes each
    // result from it); an empty one ends that.
    void ListenToLooks(std::function<void(const RunLook&)> listener) { lookListener_ = std::move(listener); }
    // Log dump files the runs wrote while this view was shown.
    int LogDumpsWritten() const { return logDumps_.load(std::memory_order_acquire); }

    // The console has no command controls.
    void EnableCommandControls(bool) override {}
    // On the service thread: kept for the next tick.
    void WriteIdentityLine(const char* line) override;
    void RefreshDeviceCoinList() override { listDirty_.store(true, std::memory_order_release); }
    void LogDumpWritten() override { logDumps_.fetch_add(1, std::memory_order_acq_rel); }
    // The run is over: a run of repeated lines is closed now.
    void EndRun();

private:
    RunLook LookAndPrintLines();
    void PrintIdentityLine();
    void PrintCoinList();
    void PrintCountChanges(const DeviceCoinRows& rows);
    void PrintResult(const PublishedCoinResult& shown);
    void Print(const char* cp1251Text);
    // The English line after a status line that calls for one, once per view.
    void PrintNote(const std::string& note);

    platform::RepeatedLines lines_;
    RunWatch watch_;
    std::function<void(const RunLook&)> lookListener_;
    bool showResults_;
    // The list as last printed: a refill that only changed counts prints
    // just the rows whose count moved.
    bool listShown_ = false;
    DeviceCoinRows shownRows_{};
    uint64_t openFailuresShown_ = 0; // failed opens told so far
    std::string lastNote_;           // a repeated note is not told again
    uint8_t lastSubCommand_ = 0;

    // Filled by the service thread, taken by Tick().
    std::mutex identityLock_;
    std::string identityLine_;
    bool identityNew_ = false;
    std::atomic<bool> listDirty_{false};
    std::atomic<int> logDumps_{0};
};
