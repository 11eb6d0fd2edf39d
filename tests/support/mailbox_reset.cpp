#include "tests/support/mailbox_reset.h"

#include "link/command_mailbox.h"

namespace testing_support {

void ResetMailbox() {
    Mailbox.iCommand = 0;
    Mailbox.bSubCommand = 0;
    Mailbox.iNextCommand = 0;
    Mailbox.bStopThread = 0;
    Mailbox.bDeviceIdentified = 0;
    Mailbox.bNewData = 0;
    Mailbox.bLastEventCounter = 0;
    Mailbox.dwLastRecordNumber = -1;
    Mailbox.bDeviceAddress = 1;
    Mailbox.iTargetCoinIndex = 0;
    Mailbox.iSelectedDeviceCoin = -1;
}

} // namespace testing_support
