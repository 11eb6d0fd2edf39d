#include "commands/acceptor_commands.h"

#include "link/acceptor_protocol.h"
#include "commands/coin_description_write.h"
#include "commands/coin_table_read.h"
#include "commands/identification.h"
#include "commands/log_read.h"
#include "commands/monitoring.h"
#include "commands/setting_write.h"
#include "link/com_thread.h"

void RegisterAcceptorCommands() {
    RegisterExtensionHandler(acceptor::kSubIdentify, HandleIdentification);
    RegisterExtensionHandler(acceptor::kSubWriteCoin, HandleWriteCoinDescription);
    // Log pages are the only replies in the long form.
    RegisterExtensionHandler(acceptor::kSubReadLog, HandleReadLog, ReplyForm::Long);
    RegisterExtensionHandler(acceptor::kSubReadTable, HandleReadCoinTable);
    RegisterExtensionHandler(acceptor::kSubMonitor, HandleMonitoring);
    RegisterExtensionHandler(acceptor::kSubWriteDivider, HandleWriteDivider);
    RegisterExtensionHandler(acceptor::kSubWriteParams, HandleWriteParams);
}
