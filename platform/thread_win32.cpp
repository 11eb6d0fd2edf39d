#include "platform/thread.h"

#include <process.h>
#include <windows.h>

namespace platform {
namespace {

struct StartBlock {
    ThreadProc proc;
    void* argument;
};

unsigned __stdcall Trampoline(void* raw) {
    const StartBlock block = *static_cast<StartBlock*>(raw);
    delete static_cast<StartBlock*>(raw);
    return block.proc(block.argument);
}

} // namespace

bool StartDetachedThread(ThreadProc proc, void* argument) {
    auto* block = new StartBlock{proc, argument};
    const uintptr_t handle = _beginthreadex(nullptr, 0, Trampoline, block, 0, nullptr);
    if (handle == 0) {
        delete block;
        return false;
    }
    // Nobody waits on a run's thread: whether it exists is told by the mailbox.
    CloseHandle(reinterpret_cast<HANDLE>(handle));
    return true;
}

} // namespace platform
