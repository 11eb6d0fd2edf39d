#include "ui/window/thread_messages.h"

#include "commands/window_hooks.h"

#include <atomic>
#include <mutex>

namespace {

std::atomic<HWND> g_window{nullptr};

std::mutex g_identityLock;
std::string g_identityLine;
std::atomic<bool> g_identityPosted{false};
// A burst of accepted coins asks for one refill, not one per coin.
std::atomic<bool> g_listPosted{false};

void PostOnce(std::atomic<bool>& posted, UINT message) {
    if (posted.exchange(true, std::memory_order_acq_rel)) return;
    const HWND window = g_window.load(std::memory_order_acquire);
    if (window == nullptr || !PostMessageA(window, message, 0, 0)) posted.store(false, std::memory_order_release);
}

void IdentityLineFromThread(const char* line) {
    {
        std::lock_guard<std::mutex> guard(g_identityLock);
        g_identityLine = line;
    }
    PostOnce(g_identityPosted, WM_IDENTITY_LINE_NEW);
}

void CoinListFromThread() { PostOnce(g_listPosted, WM_DEVICE_COIN_LIST_CHANGED); }

} // namespace

void RouteThreadCallsTo(HWND window) {
    g_window.store(window, std::memory_order_release);
    SetIdentityLineHook(window != nullptr ? IdentityLineFromThread : nullptr);
    SetRefreshDeviceCoinListHook(window != nullptr ? CoinListFromThread : nullptr);
}

std::string TakeIdentityLine() {
    g_identityPosted.store(false, std::memory_order_release);
    std::lock_guard<std::mutex> guard(g_identityLock);
    return g_identityLine;
}

void AcknowledgeCoinListChange() { g_listPosted.store(false, std::memory_order_release); }
