// The shared variables through which a window commands the service thread
// and the thread reports back. Windows write the command fields only while
// no run exists; during a run the thread writes the results and a window
// may only set bStopThread = 1 or clear the flags it has read.
#pragma once

#include "link/frame_layout.h"

#include <atomic>
#include <cstdint>

constexpr int32_t kIdleCommand = 1255;    // written by the main window after a run

struct CommandMailbox {
    std::atomic<int32_t> iCommand{0};
    std::atomic<uint8_t> bSubCommand{0};
    std::atomic<int32_t> iNextCommand{0};
    std::atomic<int32_t> bStopThread{0};
    // Non-zero while a run exists; set by the starter before the thread can
    // end, cleared by the thread as its very last action.
    std::atomic<uintptr_t> hComThread{0};
    std::atomic<int32_t> bDeviceIdentified{0};
    std::atomic<int32_t> bNewData{0};
    std::atomic<uint32_t> bLastEventCounter{0};
    std::atomic<int32_t> dwLastRecordNumber{-1};
    std::atomic<uint32_t> bDeviceAddress{1};
    // Extension fields: the coin index a description write targets, and the
    // row selected in the main window's coin list (-1 = none).
    std::atomic<int32_t> iTargetCoinIndex{0};
    std::atomic<int32_t> iSelectedDeviceCoin{-1};
};

extern CommandMailbox Mailbox;

// Clears the command fields before a starter writes its own command.
void ReadCommandFields();

// Asks the run to end: STOP, closing the program, or a handler whose
// command is done.
void StopRun();
