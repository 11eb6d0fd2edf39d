// The poll timer's tick: look for the device while disconnected, poll it
// while connected.
#include "demo/core/demo_core.h"

#include "demo/core/settings.h"

void CDemoCore::ConnectionTick() {
    if (inTick_ || halted_) return;
    inTick_ = true;
    RunConnectionTick();
    inTick_ = false;
}

void CDemoCore::RunConnectionTick() {
    if (prevState == kDisconnected) {
        CctReply reply;
        // Only a bare acknowledgement counts as a device being there.
        if (driver.Request(kHdrSimplePoll, {}, reply) == 0) {
            status = "device found\r\ninitializing...";
            if (hooks.repaintStatus) hooks.repaintStatus();
            if (Identify() == 1) nextState = kConnected;
            if (hooks.setPollTimer) hooks.setPollTimer(static_cast<uint32_t>(g_PollInterval));
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
    prevState = nextState;
}

void CDemoCore::LoseConnection() {
    status = "no connection";
    nextState = kDisconnected;
    if (hooks.setPollTimer) hooks.setPollTimer(kLostPollIntervalMs);
    ResetDisplay();
    RebuildSortTexts();
    Refresh();
    visible.masterInhibit = false;
    ShowControls();
}
