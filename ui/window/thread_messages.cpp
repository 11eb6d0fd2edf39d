#include "ui/window/thread_messages.h"

#include "link/front_end.h"
#include "ui/window/resource.h"

#include <atomic>
#include <mutex>

namespace {

class WindowFrontEnd final : public FrontEnd {
public:
    void Route(HWND window) { window_.store(window, std::memory_order_release); }

    void EnableCommandControls(bool on) override {
        const HWND window = window_.load(std::memory_order_acquire);
        EnableWindow(GetDlgItem(window, IDC_START), on ? TRUE : FALSE);
        EnableWindow(GetDlgItem(window, IDC_STOP), on ? FALSE : TRUE);
        // "Edit Selected Coin" comes back with the next look at the list.
        if (!on) EnableWindow(GetDlgItem(window, IDC_EDIT_SELECTED_COIN), FALSE);
    }

    void WriteIdentityLine(const char* line) override {
        {
            std::lock_guard<std::mutex> guard(identityLock_);
            identityLine_ = line;
        }
        PostOnce(identityPosted_, WM_IDENTITY_LINE_NEW);
    }

    void RefreshDeviceCoinList() override { PostOnce(listPosted_, WM_DEVICE_COIN_LIST_CHANGED); }

    std::string TakeIdentityLine() {
        identityPosted_.store(false, std::memory_order_release);
        std::lock_guard<std::mutex> guard(identityLock_);
        return identityLine_;
    }

    void AcknowledgeCoinListChange() { listPosted_.store(false, std::memory_order_release); }

private:
    void PostOnce(std::atomic<bool>& posted, UINT message) {
        if (posted.exchange(true, std::memory_order_acq_rel)) return;
        const HWND window = window_.load(std::memory_order_acquire);
        if (window == nullptr || !PostMessageA(window, message, 0, 0)) posted.store(false, std::memory_order_release);
    }

    std::atomic<HWND> window_{nullptr};
    std::mutex identityLock_;
    std::string identityLine_;
    std::atomic<bool> identityPosted_{false};
    // A burst of accepted coins asks for one refill, not one per coin.
    std::atomic<bool> listPosted_{false};
};

// Lives as long as the program: a run abandoned at exit may still call it.
WindowFrontEnd g_frontEnd;

} // namespace

void RouteThreadCallsTo(HWND window) {
    g_frontEnd.Route(window);
    InstallFrontEnd(window != nullptr ? &g_frontEnd : nullptr);
}

std::string TakeIdentityLine() { return g_frontEnd.TakeIdentityLine(); }

void AcknowledgeCoinListChange() { g_frontEnd.AcknowledgeCoinListChange(); }
