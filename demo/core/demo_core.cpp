// The core's life cycle and the resets of its fields.
#include "demo/core/demo_core.h"

#include "demo/core/settings.h"
#include "demo/texts/coin_value.h"
#include "demo/texts/sort_text.h"

#include <utility>

CDemoCore::CDemoCore(CCctDriver::TraceHook trace) : m_Driver(std::move(trace)) { ResetDisplay(); }

void CDemoCore::Refresh() const {
    if (m_Hooks.refresh) m_Hooks.refresh();
}

void CDemoCore::ShowControls() const {
    if (m_Hooks.showControls) m_Hooks.showControls();
}

void CDemoCore::StartPolling() {
    m_Driver.m_DeviceAddress = g_DeviceAddress;
    m_Driver.m_PortNumber = g_ComPort;
    if (m_Hooks.setPollTimer) m_Hooks.setPollTimer(static_cast<uint32_t>(g_PollInterval));
    m_PrevState = m_NextState = kDisconnected;
    m_bHalted = false;
}

void CDemoCore::HaltPolling() {
    m_bHalted = true;
    if (m_Hooks.setPollTimer) m_Hooks.setPollTimer(0);
    m_Driver.cctClose();
}

void CDemoCore::StopPolling() {
    HaltPolling();
    m_Status.clear();
    Refresh();
}

void CDemoCore::ResetCounters() {
    m_Count.fill(0);
    m_OutletTotal.fill(0);
    m_RejectTotal = 0;
    m_EscrowSum = 0;
    m_CreditSum = 0;
    m_CreditText = MoneyText(0);
    Refresh();
}

void CDemoCore::ResetDisplay() {
    m_SorterPaths = {};
    m_CoinId.fill(std::string());
    // Values come from the ids: an id that is gone takes its value along.
    m_CoinValue.fill(0);
    m_Count.fill(0);
    m_Inhibit.fill(1);
    m_OutletTotal.fill(0);
    m_RejectTotal = 0;
    m_OutletFull.fill(1);
    m_DefaultPath = 0;
    m_EscrowSum = 0;
    m_CreditSum = 0;
    m_EscrowText.clear();
    m_CreditText.clear();
    m_nDeviceType = 0;
}

void CDemoCore::ApplyOptionVisibility() {
    m_Visible.trashCycle = m_nDeviceType == kDeviceTypeQx;
    m_Visible.escrow = (m_OptionFlags & kOptionEscrow) != 0;
    m_EscrowText = m_Visible.escrow ? MoneyText(0) : std::string();
    m_Visible.motorReturn = (m_OptionFlags & kOptionMotor) != 0;
    m_Visible.acceptLimit = (m_OptionFlags & kOptionAcceptLimit) != 0;
    ShowControls();
}

void CDemoCore::RebuildSortTexts() {
    const int n = PathsPerCoin((g_Flags & FLAG_LONG_SORTER) != 0);
    for (size_t i = 0; i < m_SortText.size(); ++i) m_SortText[i] = SortTextFromPaths(m_SorterPaths[i], n);
}
