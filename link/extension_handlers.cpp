#include "link/extension_handlers.h"

#include "link/command_mailbox.h"

#include <atomic>
#include <limits>

namespace {

constexpr size_t kSubCommands = std::numeric_limits<uint8_t>::max() + 1;

// Atomic slots: a registration never races with a run reading the table.
std::atomic<ExtensionHandler> g_handlers[kSubCommands];
std::atomic<ReplyForm> g_replyForms[kSubCommands];

} // namespace

void RegisterExtensionHandler(uint8_t subCommand, ExtensionHandler handler, ReplyForm replyForm) {
    g_replyForms[subCommand].store(replyForm, std::memory_order_release);
    g_handlers[subCommand].store(handler, std::memory_order_release);
}

void ClearExtensionHandlers() {
    for (auto& slot : g_handlers) slot.store(nullptr, std::memory_order_release);
    for (auto& form : g_replyForms) form.store(ReplyForm::Short, std::memory_order_release);
}

bool RunExtensionHandlers(RunState& run) {
    run.endPass = false;
    bool ran = false;
    for (size_t sub = 0; sub < kSubCommands && !run.endPass; ++sub) {
        const ExtensionHandler handler = g_handlers[sub].load(std::memory_order_acquire);
        if (handler == nullptr || Mailbox.bSubCommand.load(std::memory_order_acquire) != sub) continue;
        run.replyForm = g_replyForms[sub].load(std::memory_order_acquire);
        handler(run);
        ran = true;
        // The identification's follow-up belongs to the next pass.
        if (sub == kIdentificationSubCommand) run.endPass = true;
    }
    return ran;
}
