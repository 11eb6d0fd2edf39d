#include "platform/message_box.h"

#include <mutex>
#include <utility>

namespace platform {

MessageAnswer ShowPlatformMessageBox(const MessageBoxRequest& request); // per platform

namespace {
std::mutex g_lock;
MessageBoxHandler g_handler;
} // namespace

MessageAnswer ShowMessageBox(const MessageBoxRequest& request) {
    MessageBoxHandler handler;
    {
        std::lock_guard<std::mutex> guard(g_lock);
        handler = g_handler;
    }
    return handler ? handler(request) : ShowPlatformMessageBox(request);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    std::lock_guard<std::mutex> guard(g_lock);
    return std::exchange(g_handler, std::move(handler));
}

} // namespace platform
