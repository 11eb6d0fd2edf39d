// Coin teaching: teach mode for one coin channel and its status, the part of
// the Coin Teaching dialog that is not a window.
#pragma once

#include "demo/driver/cct_driver.h"

#include <cstdint>
#include <string>

// The channel byte of a Channel field: its leading decimal number (as a C
// string-to-integer conversion reads it) modulo 256, bit 7 for enhanced bandwidth.
uint8_t TeachChannelByte(const std::string& field, bool enhanced);

// Teach status values of the status reply's second byte.
constexpr uint8_t kTeachAborted = 252;
constexpr uint8_t kTeachError = 253;
constexpr uint8_t kTeachBusy = 254;
constexpr uint8_t kTeachComplete = 255;

// The status text of a teach status; empty for a value without one.
std::string TeachStatusText(uint8_t status, uint8_t coinCount);
bool TeachFinished(uint8_t status);

class CTeachCore {
public:
    explicit CTeachCore(CCctDriver& driver) : driver_(driver) {}

    // The Start/Abort button: starts teaching the channel, or aborts.
    void StartOrAbort(const std::string& channelField, bool enhanced);
    // The status timer's tick: progress row and teach status.
    void Tick();
    // Closing the dialog aborts a running teach.
    void Close();

    std::string progress;
    std::string statusText;
    std::string buttonText = "Start Teaching";
    int teaching = 0;
    uint8_t channel = 0;
    uint8_t coinCount = 0;
    uint8_t teachStatus = 0;

private:
    CCctDriver& driver_;
};

// Milliseconds between two status reads.
constexpr uint32_t kTeachTickMs = 193;
