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
        indicatorLeft = blink != 0 ? "???" : "";
        indicatorRight.clear();
        step = 0;
        blink = static_cast<uint8_t>(~blink);
    } else if (step % kArrowCycle == 0) {
        indicatorLeft = "<--";
        indicatorRight = "-->";
        step = 1;
    } else {
        indicatorLeft += ' ';
        indicatorRight.insert(0, 1, ' ');
        ++step;
    }
    if (hooks.showActivity) hooks.showActivity();
}

void CDemoCore::ReadOptoMarks() {
    CctReply reply;
    const bool answered = driver.Request(kHdrReadOptoStates, {}, reply) >= 1;
    visible.coinPresent = answered && (reply.data[0] & kOptoCoinPresent) != 0;
    visible.trashOpen = answered && (reply.data[0] & kOptoTrashOpen) != 0;
    ShowControls();
}
