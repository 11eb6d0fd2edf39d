#include "demo/core/teach.h"

#include <cctype>
#include <cstdio>

namespace {
constexpr uint8_t kEnhancedBandwidth = 0x80;
constexpr size_t kProgressLength = 10; // the row grows to 11 "+" and starts again
} // namespace

uint8_t TeachChannelByte(const std::string& field, bool enhanced) {
    size_t i = 0;
    while (i < field.size() && std::isspace(static_cast<unsigned char>(field[i]))) ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
    // Only the value modulo 256 is kept, so no number is too long.
    unsigned value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) value = (value * 10 + (field[i] - '0')) & 0xFF;
    uint8_t channel = static_cast<uint8_t>(negative ? 0x100 - value : value);
    if (enhanced) channel |= kEnhancedBandwidth;
    return channel;
}

std::string TeachStatusText(uint8_t status, uint8_t coinCount) {
    switch (status) {
    case kTeachAborted: return "Teach aborted";
    case kTeachError: return "Teach Error";
    case kTeachComplete: return "Teach complete";
    case kTeachBusy: {
        char text[32];
        std::snprintf(text, sizeof text, "Busy: %d Coins", coinCount);
        return text;
    }
    default: return "";
    }
}

bool TeachFinished(uint8_t status) { return status != kTeachBusy; }

void CTeachCore::StartOrAbort(const std::string& channelField, bool enhanced) {
    if (teaching == 1) {
        teaching = 0;
        buttonText = "Start";
        channel = 0;
    } else {
        teaching = 1;
        channel = TeachChannelByte(channelField, enhanced);
        buttonText = "Abort";
    }
    CctReply reply;
    driver_.Request(kHdrTeachModeControl, {channel}, reply);
}

void CTeachCore::Tick() {
    if (progress.size() > kProgressLength) progress.clear();
    progress += '+';

    CctReply reply;
    const int n = driver_.Request(kHdrRequestTeachStatus, {}, reply);
    if (n >= 1) coinCount = reply.data[0];
    if (n >= 2) teachStatus = reply.data[1];
    statusText = n >= 1 ? TeachStatusText(teachStatus, coinCount) : "Teaching not supported";
    if (teaching == 1 && TeachFinished(teachStatus)) {
        teaching = 0;
        buttonText = "Start";
    }
}

void CTeachCore::Close() {
    if (teaching == 1) StartOrAbort("", false);
}
