// The serial service thread: one run = one port opening and one command
// with its chain of follow-ups.
#pragma once

#include "link/frame_layout.h"
#include "platform/serial_port.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// What one run owns; handlers keep their per-run counters here.
struct RunState {
    platform::SerialPort* port = nullptr;
    int iFragment = 0;
    int iErrors = 0;
    int iPages = 0;
    // Large receive block of a multi-page transfer; freed at the run's end.
    std::unique_ptr<uint8_t[]> pstrBufferProg;
    size_t dwBufferProgSize = 0;
    // The run has already told the operator of a coin row outside the table.
    bool rowWarned = false;
    // How the reply of the handler now running gives its length, as the
    // handler table says.
    ReplyForm replyForm = ReplyForm::Short;
    // Set by a handler to end the current pass after it: a sub-command it
    // moved to then runs in the next pass, not later in this one. Cleared
    // at the start of every pass. The identification always ends its pass.
    bool endPass = false;
};

constexpr uint8_t kIdentificationSubCommand = 0;

// A handler of one extension sub-command. It runs when bSubCommand equals
// its number at its turn in the pass.
using ExtensionHandler = void (*)(RunState& run);

// Registers a handler and the form its replies come in; handlers are tried
// in ascending sub-command order within each pass. Call only while no run
// exists.
void RegisterExtensionHandler(uint8_t subCommand, ExtensionHandler handler, ReplyForm replyForm = ReplyForm::Short);
void ClearExtensionHandlers();

// The follow-up after an accepted identification: bDeviceIdentified = 1,
// then chain, end or repeat according to iNextCommand.
void ApplyIdentificationFollowUp();

// The thread procedure. Returns 0.
unsigned COM_Thread(void* unused);

struct StartRequest {
    int32_t command = 255;
    uint8_t subCommand = 0;
    int32_t nextCommand = 0;
    bool resetRecordNumber = true;
    const char* failureMessage = ""; // queued when the thread cannot start
    // Queued instead of failureMessage when a run already exists (only the
    // divider dialog words that case itself); null = failureMessage.
    const char* busyMessage = nullptr;
};

// Steps (b) to (f) of every starter: the controls of the installed front
// end go off, the command is written, the thread started through the run
// environment. Returns false, with its message queued, when a run already
// exists or the thread could not be started.
bool StartComRun(const StartRequest& request);

// True while a run exists.
bool RunExists();
