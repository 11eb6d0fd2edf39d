// The core's life cycle and the resets of its fields.
#include "demo/core/demo_core.h"

#include "demo/core/settings.h"
#include "demo/texts/coin_value.h"
#include "demo/texts/sort_text.h"

#include <utility>

CDemoCore::CDemoCore(CCctDriver::TraceHook trace) : driver(std::move(trace)) { ResetDisplay(); }

void CDemoCore::Refresh() const {
    if (hooks.refresh) hooks.refresh();
}

void CDemoCore::ShowControls() const {
    if (hooks.showControls) hooks.showControls();
}

void CDemoCore::StartPolling() {
    driver.deviceAddress = g_DeviceAddress;
    driver.portNumber = g_ComPort;
    if (hooks.setPollTimer) hooks.setPollTimer(static_cast<uint32_t>(g_PollInterval));
    prevState = nextState = kDisconnected;
    halted_ = false;
}

void CDemoCore::HaltPolling() {
    halted_ = true;
    if (hooks.setPollTimer) hooks.setPollTimer(0);
    driver.cctClose();
}

void CDemoCore::StopPolling() {
    HaltPolling();
    status.clear();
    Refresh();
}

void CDemoCore::ResetCounters() {
    count.fill(0);
    outletTotal.fill(0);
    rejectTotal = 0;
    escrowSum = 0;
    creditSum = 0;
    creditText = MoneyText(0);
    Refresh();
}

void CDemoCore::ResetDisplay() {
    sorterPaths = {};
    coinId.fill(std::string());
    // Values come from the ids: an id that is gone takes its value along.
    coinValue.fill(0);
    count.fill(0);
    inhibit.fill(1);
    outletTotal.fill(0);
    rejectTotal = 0;
    outletFull.fill(1);
    defaultPath = 0;
    escrowSum = 0;
    creditSum = 0;
    escrowText.clear();
    creditText.clear();
    m_nDeviceType = 0;
}

void CDemoCore::ApplyOptionVisibility() {
    visible.trashCycle = m_nDeviceType == kDeviceTypeQx;
    visible.escrow = (m_OptionFlags & kOptionEscrow) != 0;
    escrowText = visible.escrow ? MoneyText(0) : std::string();
    visible.motorReturn = (m_OptionFlags & kOptionMotor) != 0;
    visible.acceptLimit = (m_OptionFlags & kOptionAcceptLimit) != 0;
    ShowControls();
}

void CDemoCore::RebuildSortTexts() {
    const int n = PathsPerCoin((g_Flags & FLAG_LONG_SORTER) != 0);
    for (size_t i = 0; i < sortText.size(); ++i) sortText[i] = SortTextFromPaths(sorterPaths[i], n);
}
