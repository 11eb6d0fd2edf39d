#include "link/front_end.h"

#include <atomic>

namespace {

class NoFrontEnd final : public FrontEnd {
public:
    void EnableCommandControls(bool) override {}
    void WriteIdentityLine(const char*) override {}
    void RefreshDeviceCoinList() override {}
};

NoFrontEnd g_none;
std::atomic<FrontEnd*> g_frontEnd{nullptr};

} // namespace

void InstallFrontEnd(FrontEnd* frontEnd) { g_frontEnd.store(frontEnd, std::memory_order_release); }

FrontEnd& CurrentFrontEnd() {
    FrontEnd* const installed = g_frontEnd.load(std::memory_order_acquire);
    return installed != nullptr ? *installed : g_none;
}
