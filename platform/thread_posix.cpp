#include "platform/thread.h"

#include <pthread.h>

namespace platform {
namespace {

struct StartBlock {
    ThreadProc proc;
    void* argument;
};

void* Trampoline(void* raw) {
    const StartBlock block = *static_cast<StartBlock*>(raw);
    delete static_cast<StartBlock*>(raw);
    block.proc(block.argument);
    return nullptr;
}

} // namespace

bool StartDetachedThread(ThreadProc proc, void* argument) {
    auto* block = new StartBlock{proc, argument};
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    pthread_t id;
    const int rc = pthread_create(&id, &attr, Trampoline, block);
    pthread_attr_destroy(&attr);
    if (rc != 0) {
        delete block;
        return false;
    }
    return true;
}

} // namespace platform
