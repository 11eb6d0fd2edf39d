// The service thread's side of the handler registry (link-internal).
#pragma once

#include "link/com_thread.h"

// One pass of the extension header: every registered handler in ascending
// sub-command order, each run when bSubCommand equals its number at its
// turn. Returns whether any handler ran.
bool RunExtensionHandlers(RunState& run);
