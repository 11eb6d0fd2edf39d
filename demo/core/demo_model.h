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
    int m_PrevState = kDisconnected;
    int m_NextState = kDisconnected;
    std::string m_Status; // status box, lines separated by "\r\n"
    DeviceIdentity m_Identity; // of the last identification

    int m_nDeviceType = 0;
    uint8_t m_OptionFlags = 0;
    ControlVisibility m_Visible;

    // Coin table, index p-1 for coin position p.
    std::array<std::string, kCoinPositions> m_CoinId;
    std::array<unsigned, kCoinPositions> m_CoinValue{};
    std::array<SorterPaths, kCoinPositions> m_SorterPaths{};
    std::array<std::string, kCoinPositions> m_SortText;
    std::array<int, kCoinPositions> m_Inhibit{};
    std::array<unsigned, kCoinPositions> m_Count{};

    std::array<int, kShownOutlets> m_OutletFull{};  // 1 = outlet k+1 overridden
    std::array<unsigned, kShownOutlets> m_OutletTotal{};
    unsigned m_RejectTotal = 0;
    uint8_t m_DefaultPath = 0;
    int m_MasterInhibit = 0; // 1 = ticked: the device accepts nothing

    uint32_t m_CreditSum = 0; // hundredths
    uint32_t m_EscrowSum = 0;
    std::string m_CreditText;
    std::string m_EscrowText;
    std::string m_ErrorLine;
    unsigned m_AcceptLimit = 0;
    unsigned m_Residual = 0;

    // Bit i set: outlet picture i (0 = rejects) shows its active image.
    uint8_t m_ActiveOutlets = 0;

    // Activity indicator. The left text sits in a right-aligned static and
    // the right text in a left-aligned one, so added blanks move the arrows apart.
    std::string m_IndicatorLeft;
    std::string m_IndicatorRight;
    uint8_t m_Blink = 0;
    uint8_t m_Step = 0;
};
