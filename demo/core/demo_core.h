// Everything Pollbench's main window does that is not a window: discovery,
// identification, polling and the indicators, over one driver and a model.
#pragma once

#include "demo/core/demo_hooks.h"
#include "demo/core/demo_model.h"
#include "demo/driver/cct_driver.h"

class CDemoCore : public DemoModel {
public:
    // The driver traces through `trace`: the front end hands it the
    // program's trace (none when empty).
    explicit CDemoCore(CCctDriver::TraceHook trace = {});

    CCctDriver driver;
    DemoHooks hooks;

    // Polling runs between these two: the settings go into the driver and
    // the next tick starts from the disconnected state. Stopping empties
    // the status box; halting (Quit, close) leaves the fields as they are.
    // While polling is stopped or halted the port stays closed and the
    // operator's device commands send nothing (a Sort box that loses the
    // focus to the Options dialog, say).
    void StartPolling();
    void StopPolling();
    void HaltPolling();
    bool Polling() const { return !halted_; }

    // One tick of the poll timer: find the device, or poll it. A tick that
    // arrives while one is still running (the window's timer keeps firing
    // under the device-reset question) is skipped, so polling pauses there.
    void ConnectionTick();

    // Reads identity and configuration and sets the device up; 1 when done,
    // 0 when one of the identity requests failed.
    int Identify();

    // One read of the event buffer shown in the fields; 0 when the device
    // is to be treated as lost.
    int PollStep();

    void ShowActivity(int mode);
    void ReadOptoMarks();
    void FlashOutlets(uint8_t bits);
    void EndOutletFlash(); // the flash timer's tick

    void ResetCounters();
    void ResetDisplay();
    void ApplyOptionVisibility();
    void RebuildSortTexts();

    // Read-backs of the device's tables into the fields.
    void ReadMasterInhibit();
    void ReadCoinIds();
    void ReadSorterPaths(int position);
    void ReadInhibits();
    void ReadSorterOverride();
    void ReadDefaultPath();
    void ReadResidual();

    // The operator's device commands. Each writes the fields to the device
    // and reads back what the device took; the front end takes its fields
    // before and refreshes after. None of them runs while polling is stopped.
    void WriteInhibits();
    void WriteSorterPaths(int position); // from the Sort texts
    void WriteDefaultPath();
    void WriteSorterOverride();
    void WriteMasterInhibit();
    void EscrowReturn();
    void EscrowAccept();
    void MotorReturn();
    void TrashCycle();
    void SetAcceptLimit();

private:
    static constexpr int kSetUpTries = 3;
    // A request of the set-up after the identity, tried again after a
    // failed exchange: as Request.
    int SetUpRequest(uint8_t header, std::initializer_list<uint8_t> data, CctReply& reply);
    void RunConnectionTick();
    void CountCredits(const PollCounts& counts);
    void CountOutlets(const PollCounts& counts);
    void LoseConnection();
    void SendInhibits();
    void ClearEscrow();
    void Refresh() const;
    void ShowControls() const;

    bool inTick_ = false;
    bool halted_ = false;
};
