// The poll timer's tick: look for the device while disconnected, poll it
// while connected.
#include "demo/core/demo_core.h"

#include "demo/core/settings.h"

void CDemoCore::ConnectionTick() {
    if (m_bInTick || m_bHalted) return;
    m_bInTick = true;
    RunConnectionTick();
    m_bInTick = false;
}

void CDemoCore::RunConnectionTick() {
    if (m_PrevState == kDisconnected) {
        CctReply reply;
        // Only a bare acknowledgement counts as a device being there.
        if (m_Driver.Request(kHdrSimplePoll, {}, reply) == 0) {
            m_Status = "device found\r\ninitializing...";
            if (m_Hooks.repaintStatus) m_Hooks.repaintStatus();
            if (Identify() == 1) m_NextState = kConnected;
            if (m_Hooks.setPollTimer) m_Hooks.setPollTimer(static_cast<uint32_t>(g_PollInterval));
        }
        ShowActivity(kDisconnected);
    } else {
        if (PollStep() == 0) {
            LoseConnection();
        } else if (m_nDeviceType == kDeviceTypeQx) {
            ReadOptoMarks();
        }
        ShowActivity(kConnected);
    }
    m_PrevState = m_NextState;
}

void CDemoCore::LoseConnection() {
    m_Status = "no connection";
    m_NextState = kDisconnected;
    if (m_Hooks.setPollTimer) m_Hooks.setPollTimer(kLostPollIntervalMs);
    ResetDisplay();
    RebuildSortTexts();
    Refresh();
    m_Visible.masterInhibit = false;
    ShowControls();
}
