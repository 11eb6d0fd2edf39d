#include "commands/acceptor_commands.h"

#include "commands/coin_description_write.h"
#include "commands/coin_table_read.h"
#include "commands/identification.h"
#include "commands/log_read.h"
#include "commands/monitoring.h"
#include "commands/protocol/extension_commands.h"
#include "commands/setting_write.h"
#include "link/com_thread.h"

namespace {

// Each command's handler; its sub-command and reply form are the
// descriptor's.
struct CommandHandler {
    const acceptor::CommandDescriptor& command;
    ExtensionHandler handler;
};

const CommandHandler kHandlers[] = {
    {acceptor::kIdentifyCommand, HandleIdentification},
    {acceptor::kWriteCoinCommand, HandleWriteCoinDescription},
    {acceptor::kReadLogCommand, HandleReadLog},
    {acceptor::kReadTableCommand, HandleReadCoinTable},
    {acceptor::kMonitorCommand, HandleMonitoring},
    {acceptor::kWriteDividerCommand, HandleWriteDivider},
    {acceptor::kWriteParamsCommand, HandleWriteParams},
};

} // namespace

void RegisterAcceptorCommands() {
    for (const CommandHandler& entry : kHandlers) {
        RegisterExtensionHandler(entry.command.subCommand, entry.handler, entry.command.replyForm);
    }
}
