// What every pollbench command shares: Ctrl+C, its printing, and the core
// made ready from the command line.
#pragma once

#include "demo/console/console_args.h"
#include "demo/core/demo_core.h"
#include "platform/terminal_lines.h"

#include <csignal>
#include <cstdint>
#include <string>

// Set by Ctrl+C; the commands that run until interrupted watch it.
extern volatile std::sig_atomic_t g_interrupted;

// Each line of `text` (lines end with "\n"); a line repeating the one
// before it is only counted.
void Print(platform::RepeatedLines& lines, const std::string& text);
// `text` on standard output at once.
void Print(const std::string& text);

// The settings of the command line in the program's settings and the core,
// the program's trace handed to its driver, polling started; `timerMs`
// follows the core's poll timer.
void PrepareCore(CDemoCore& core, const PollbenchArgs& args, uint32_t& timerMs);

// Opens the driver's port unless it is open; when it does not open, says
// which port, why and what to do, and returns false.
bool OpenPortOrSay(CDemoCore& core, const PollbenchArgs& args, platform::RepeatedLines& lines);
