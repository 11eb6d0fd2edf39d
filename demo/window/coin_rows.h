// The controls of the coin table's rows: position p (1..16) has its four
// controls at IDC_COIN_ROW_FIRST + 4(p-1) onwards, one per column.
#pragma once

#include "demo/driver/poll_counts.h"
#include "demo/window/resource.h"

constexpr int CoinRowControl(int position, int column) {
    return IDC_COIN_ROW_FIRST + IDC_COIN_ROW_STRIDE * (position - 1) + column;
}

constexpr int kLastCoinRowControl = CoinRowControl(kCoinPositions, IDC_COIN_ROW_STRIDE - 1);
