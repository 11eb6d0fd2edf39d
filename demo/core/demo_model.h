// The main window's state as plain data: the window binds these fields to
// its controls, the console prints them, tests read them.
#pragma once

#include "demo/driver/poll_counts.h"
#include "demo/texts/device_data.h"

#include <array>
#include <cstdint>
#include <string>

constexpr int kShownOutlets = 5;   // sorter outlets 1..5 have pictures and totals
constexpr int kFlashPictures = 6;  // rejects and outlets 1..5
constexpr int kDeviceTypeQx = 5;   // product code begins with "QX"
constexpr uint32_t kLostPollIntervalMs = 500;

enum ConnectionState : int { kDisconnected = 0, kConnected = 1 };

// Controls shown only for some devices.
struct ControlVisibility {
    bool masterInhibit = false; // "Master Inhibit"
    bool trashCycle = false;    // "Trash cycle"
    bool escrow = false;        // "Escrow" group, "Return", "Accept"
    bool motorReturn = false;   // "Motor Return"
    bool acceptLimit = false;   // "Accept Limit (Price)" group
    bool coinPresent = false;   // opto mark "Coin Present"
    bool trashOpen = false;     // opto mark "Trash open"
};

constexpr char kStatusLineBreak[] = "\r\n";

struct DemoModel {
    int prevState = kDisconnected;
    int nextState = kDisconnected;
    std::string status; // status box, lines separated by "\r\n"
    DeviceIdentity identity; // of the last identification

    int m_nDeviceType = 0;
    uint8_t m_OptionFlags = 0;
    ControlVisibility visible;

    // Coin table, index p-1 for coin position p.
    std::array<std::string, kCoinPositions> coinId;
    std::array<unsigned, kCoinPositions> coinValue{};
    std::array<SorterPaths, kCoinPositions> sorterPaths{};
    std::array<std::string, kCoinPositions> sortText;
    std::array<int, kCoinPositions> inhibit{};
    std::array<unsigned, kCoinPositions> count{};

    std::array<int, kShownOutlets> outletFull{};  // 1 = outlet k+1 overridden
    std::array<unsigned, kShownOutlets> outletTotal{};
    unsigned rejectTotal = 0;
    uint8_t defaultPath = 0;
    int masterInhibit = 0; // 1 = ticked: the device accepts nothing

    uint32_t creditSum = 0; // hundredths
    uint32_t escrowSum = 0;
    std::string creditText;
    std::string escrowText;
    std::string errorLine;
    unsigned acceptLimit = 0;
    unsigned residual = 0;

    // Bit i set: outlet picture i (0 = rejects) shows its active image.
    uint8_t activeOutlets = 0;

    // Activity indicator. The left text sits in a right-aligned static and
    // the right text in a left-aligned one, so added blanks move the arrows apart.
    std::string indicatorLeft;
    std::string indicatorRight;
    uint8_t blink = 0;
    uint8_t step = 0;
};
