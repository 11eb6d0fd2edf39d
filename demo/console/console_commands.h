// The pollbench commands, each over the same core the window drives.
#pragma once

#include "demo/console/console_args.h"
#include "demo/console/console_run.h"

#include <cstdio>

// Each prints to `out` and returns the program's exit status: 0 success,
// 1 device failure (see PollbenchUsage).
int RunSearch(const PollbenchArgs& args, std::FILE* out);
int RunIdentify(const PollbenchArgs& args, std::FILE* out);
int RunPoll(const PollbenchArgs& args, std::FILE* out);
int RunTeach(const PollbenchArgs& args, std::FILE* out);
