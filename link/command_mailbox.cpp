#include "link/command_mailbox.h"

CommandMailbox Mailbox;

void ReadCommandFields() {
    Mailbox.iCommand.store(0, std::memory_order_release);
    Mailbox.bSubCommand.store(0, std::memory_order_release);
}

void StopRun() { Mailbox.bStopThread.store(1, std::memory_order_release); }
