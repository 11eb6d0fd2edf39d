#include "commands/window_hooks.h"

#include <atomic>

namespace {
std::atomic<IdentityLineHook> g_identityLine{nullptr};
std::atomic<RefreshDeviceCoinListHook> g_refreshList{nullptr};
} // namespace

IdentityLineHook SetIdentityLineHook(IdentityLineHook hook) {
    return g_identityLine.exchange(hook, std::memory_order_acq_rel);
}

RefreshDeviceCoinListHook SetRefreshDeviceCoinListHook(RefreshDeviceCoinListHook hook) {
    return g_refreshList.exchange(hook, std::memory_order_acq_rel);
}

void WriteIdentityLine(const char* line) {
    if (const IdentityLineHook hook = g_identityLine.load(std::memory_order_acquire)) hook(line);
}

void RefreshDeviceCoinList() {
    if (const RefreshDeviceCoinListHook hook = g_refreshList.load(std::memory_order_acquire)) hook();
}
