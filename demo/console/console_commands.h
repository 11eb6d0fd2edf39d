// The pollbench commands, each over the same core the window drives.
#pragma once

#include "demo/console/console_args.h"

#include <csignal>

// Set by Ctrl+C; the commands that run until interrupted watch it.
extern volatile std::sig_atomic_t g_Interrupted;

// Each returns the program's exit status: 0 success, 1 device failure.
int RunSearch(const PollbenchArgs& args);
int RunIdentify(const PollbenchArgs& args);
int RunPoll(const PollbenchArgs& args);
int RunTeach(const PollbenchArgs& args);
