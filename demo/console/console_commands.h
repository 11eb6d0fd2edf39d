// The pollbench commands, each over the same core the window drives.
#pragma once

#include "demo/console/console_args.h"
#include "demo/core/demo_core.h"
#include "platform/terminal_lines.h"

#include <csignal>
#include <cstdio>

// Set by Ctrl+C; the commands that run until interrupted watch it.
extern volatile std::sig_atomic_t g_Interrupted;

// Each prints to `out` and returns the program's exit status: 0 success,
// 1 device failure (see PollbenchUsage).
int RunSearch(const PollbenchArgs& args, std::FILE* out);
int RunIdentify(const PollbenchArgs& args, std::FILE* out);
int RunPoll(const PollbenchArgs& args, std::FILE* out);
int RunTeach(const PollbenchArgs& args, std::FILE* out);

// Opens the driver's port unless it is open; when it does not open, says
// which port, why and what to do, and returns false.
bool OpenPortOrSay(CDemoCore& core, const PollbenchArgs& args, platform::RepeatedLines& lines);
