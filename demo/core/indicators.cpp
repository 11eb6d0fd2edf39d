// The activity indicator and the opto marks of the device picture.
#include "demo/core/demo_core.h"

namespace {
constexpr uint8_t kArrowCycle = 10; // the arrows move apart over nine ticks
constexpr uint8_t kOptoCoinPresent = 0x01;
constexpr uint8_t kOptoTrashOpen = 0x02;
} // namespace

void CDemoCore::ShowActivity(int mode) {
    if (mode == kDisconnected) {
        // "???" blinks, starting with an empty text.
        m_IndicatorLeft = m_Blink != 0 ? "???" : "";
        m_IndicatorRight.clear();
        m_Step = 0;
        m_Blink = static_cast<uint8_t>(~m_Blink);
    } else if (m_Step % kArrowCycle == 0) {
        m_IndicatorLeft = "<--";
        m_IndicatorRight = "-->";
        m_Step = 1;
    } else {
        m_IndicatorLeft += ' ';
        m_IndicatorRight.insert(0, 1, ' ');
        ++m_Step;
    }
    if (m_Hooks.showActivity) m_Hooks.showActivity();
}

void CDemoCore::ReadOptoMarks() {
    CctReply reply;
    const bool answered = m_Driver.Request(kHdrReadOptoStates, {}, reply) >= 1;
    m_Visible.coinPresent = answered && (reply.data[0] & kOptoCoinPresent) != 0;
    m_Visible.trashOpen = answered && (reply.data[0] & kOptoTrashOpen) != 0;
    ShowControls();
}
