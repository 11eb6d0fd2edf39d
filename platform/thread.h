// Detached worker threads, started the way the C runtime starts them.
#pragma once

namespace platform {

using ThreadProc = unsigned (*)(void* argument);

// Starts `proc(argument)` on a new detached thread that runs at once.
// Returns false when the thread could not be created.
bool StartDetachedThread(ThreadProc proc, void* argument);

} // namespace platform
