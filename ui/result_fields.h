// The main window's monitoring fields for one coin result: best and next
// coin, their error counts, and the acceptor's last five result pairs.
// Shared by the window and the console.
#pragma once

#include "commands/coin_result.h"

#include <cstdint>
#include <string>

struct ResultFields {
    bool largeBestCoin = false; // the best coin in the large font: accepted
    std::string bestCoin;       // " %s"
    std::string bestErrors;     // "Stat (%d) + Neural (%d) = %d"
    std::string nextCoin;
    std::string nextErrors;
    std::string buffer;         // "Buffer (A.B): ...    Cnt = %d"
};

ResultFields FormatResultFields(const CoinResultRecord& result, uint32_t eventCounter);
